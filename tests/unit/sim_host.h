// A host backed by the register simulator, in-process: frames the translator
// sends go to ecrsim::Simulator and its answers come back as the protocol
// library would give them. A register that does not answer is a time-out
// (host result 4, detail kSimHostTimeoutDetail). The host-info record offers a
// status function (result and flags settable), an extended-status function and
// presence flags for the registers the simulator has.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "core/ecr_config.h"
#include "core/executor_state.h"
#include "core/frame_exchange.h"
#include "core/library_state.h"
#include "core/message_tables.h"
#include "core/result_text.h"
#include "simulator.h"

constexpr int kSimHostTimeoutDetail = 99;

class SimHost {
 public:
  SimHost() {
    current_ = this;
    info_.protocolType = 3;
    info_.presenceFlags = presence_;
    info_.status = &OnStatus;
    info_.statusEx = &OnStatusEx;
  }
  ~SimHost() { current_ = nullptr; }
  SimHost(const SimHost&) = delete;
  SimHost& operator=(const SimHost&) = delete;

  // Makes this host the translator's, with register 1 current and selected.
  void Install() {
    quadrel::LibraryState& lib = quadrel::Library();
    lib = quadrel::LibraryState{};
    lib.initialised = true;
    lib.host.hostIO = &OnEcrIO;
    lib.host.progress = &OnProgress;
    lib.host.info = &info_;
    quadrel::WriteDefaultMessageTexts();
    quadrel::ResetAllEcrRecords();
    quadrel::CurrentEcr() = 1;
    quadrel::SelectedEcr() = 1;
    quadrel::SetCurrentRecordSlot(1);
    quadrel::Executor() = quadrel::ExecutorState{};
    quadrel::EcrStatusBytes() = quadrel::EcrStatusFields{};
    quadrel::Reply() = quadrel::ReplyState{};
  }

  // Marks the registers the simulator has as present.
  void MarkPresentRegisters() {
    std::fill(std::begin(presence_), std::end(presence_), 0);
    for (int ecr : sim.RegisterNumbers()) presence_[ecr] = 1;
  }

  ecrsim::Simulator sim;

  int statusResult = 0;
  int statusFlags = 0;
  int statusCalls = 0;
  int statusExCalls = 0;
  std::vector<int> services;  // negative requests, in order
  std::vector<std::string> progressTexts;
  // Called on every progress report with its 1-based number; may set *abort or change the simulator.
  std::function<void(int call, int* abort)> onProgress;

  HostInfoRecord& info() { return info_; }
  int FramesTo(int ecr) { return static_cast<int>(sim.Find(ecr)->Log().size()); }

 private:
  static int QUADREL_CALL OnEcrIO(int ecrOrRequest, int, void* frame, void* length, void* answer,
                                  void* answerLength, void* detail) {
    SimHost& host = *current_;
    if (ecrOrRequest < 0) {
      host.services.push_back(ecrOrRequest);
      return 0;
    }
    const auto* bytes = static_cast<const std::uint8_t*>(frame);
    const int count = IntFromArgument(length);
    const ecrsim::Reply reply = host.sim.Exchange(ecrOrRequest, {bytes, static_cast<std::size_t>(count)});
    if (!reply.answered) {
      *static_cast<std::int32_t*>(detail) = kSimHostTimeoutDetail;
      return 4;
    }
    std::copy(reply.answer.begin(), reply.answer.end(), static_cast<std::uint8_t*>(answer));
    *static_cast<std::int32_t*>(answerLength) = static_cast<std::int32_t>(reply.answer.size());
    *static_cast<std::int32_t*>(detail) = reply.detail;
    return reply.hostResult;
  }

  static void QUADREL_CALL OnProgress(int, int, int, const char* text, int* abort) {
    SimHost& host = *current_;
    host.progressTexts.push_back(text ? text : "");
    if (host.onProgress) host.onProgress(static_cast<int>(host.progressTexts.size()), abort);
  }

  static int QUADREL_CALL OnStatus(int, int, void* record) {
    SimHost& host = *current_;
    ++host.statusCalls;
    static_cast<std::uint8_t*>(record)[0] = static_cast<std::uint8_t>(host.statusFlags);
    return host.statusResult;
  }

  static int QUADREL_CALL OnStatusEx(int, int, int*, int*, std::uint8_t*) {
    ++current_->statusExCalls;
    return 0;
  }

  static inline SimHost* current_ = nullptr;
  HostInfoRecord info_{};
  std::int32_t presence_[25] = {0, 1};
};
