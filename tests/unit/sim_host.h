// A host backed by the register simulator, in-process: frames the translator
// sends go to ecrsim::Simulator and its answers come back as the protocol
// library would give them. A register that does not answer is a time-out
// (host result 4, detail kSimHostTimeoutDetail). The host-info record offers a
// status function (result and flags settable), an extended-status function
// that reports the register's "statusex" bytes, a broadcast function over the
// simulator's registers, the register count and presence flags.
//
// Connection services (-110/-106 connect, -111/-107 hang up / disconnect) are
// served as a dialling host would: after UseConnections() frames reach a
// register only through a connection, and every frame for register 1 goes to
// the register the connection reached. A call lasts the target's seconds
// (simulated: one progress report a second, where the user may stop it) and
// fails with status -2 when the time-out runs out first.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "installed_host.h"
#include "interfaces/host_info.h"
#include "interfaces/translator_exports.h"
#include "language/message_tables.h"
#include "language/result_text.h"
#include "link/frame_exchange.h"
#include "simulator.h"
#include "state/ecr_config.h"
#include "state/executor_state.h"
#include "state/library_state.h"
#include "wire/wire.h"

constexpr int kSimHostTimeoutDetail = 99;
constexpr std::size_t kSimHostMessageBytes = 256;  // the data a host's message record keeps
constexpr int kSimHostTimeOut = 4;
constexpr std::int32_t kSimDialSeconds = 45;  // a dial-up call's own time-out: the request carries none

// Status words of a failed connection, as the host reports them.
constexpr std::int32_t kSimConnectStopped = -1;
constexpr std::int32_t kSimConnectTimedOut = -2;
constexpr std::int32_t kSimConnectModemError = -3;

// Where a connection target leads: the simulator register that answers
// there, after `seconds` of calling; or, when `failure` is not 0, the status
// word the call ends with instead.
struct SimTarget {
  int ecr = 1;
  int seconds = 1;
  std::int32_t failure = 0;
};

// A register message as the host's link hands it over.
struct SimHostEvent {
  int ecr = 0;
  int kind = 0;  // the event character
  std::vector<std::uint8_t> data;
};

// What the host was asked to connect to.
struct SimConnectRequest {
  int request = 0;
  std::string target;
  std::int32_t timeOut = 0;
};

class SimHost {
 public:
  SimHost() {
    current_ = this;
    info_.protocolType = 3;
    info_.presenceFlags = presence_;
    info_.registerCount = 1;
    info_.status = &OnStatus;
    info_.statusEx = &OnStatusEx;
    info_.broadcastIO = &OnBroadcast;
  }
  ~SimHost() { current_ = nullptr; }
  SimHost(const SimHost&) = delete;
  SimHost& operator=(const SimHost&) = delete;

  // Makes this host the translator's, with register 1 current and selected.
  void Install() { quadrel_test::InstallHost(&OnEcrIO, &OnProgress, &info_); }

  // Marks the registers the simulator has as present; the register count is
  // the highest number, as a line addressed 1..n serves n registers.
  void MarkPresentRegisters() {
    std::fill(std::begin(presence_), std::end(presence_), 0);
    info_.registerCount = 0;
    for (int ecr : sim.RegisterNumbers()) {
      presence_[ecr] = 1;
      info_.registerCount = ecr;
    }
  }

  // From now on registers are reached only through connections.
  void UseConnections() { connection_ = 0; }
  // The register the connection reached (0: none); nullopt on a direct line.
  std::optional<int> Connection() const { return connection_; }

  ecrsim::Simulator sim;

  // When set, the register's data-collection lines reach Trad_DCXEvent right
  // after each frame exchange, as the host's message pump hands them over
  // while a command runs.
  bool pumpEvents = false;

  int statusResult = 0;
  int statusFlags = 0;
  int statusCalls = 0;
  int statusExResult = 0;         // what the extended-status function returns
  std::int32_t statusExWord = 0;  // the status word it reports
  int statusExCalls = 0;
  int broadcasts = 0;
  std::vector<int> services;  // negative requests, in order
  std::vector<SimConnectRequest> connects;
  std::map<std::string, SimTarget> targets;
  std::vector<std::string> progressTexts;
  // Called on every progress report with its 1-based number; may set *abort or change the simulator.
  std::function<void(int call, int* abort)> onProgress;

  // The simulator's pending events as the host receives them: each crosses
  // the wire format, and its data is kept up to the host's message record.
  std::vector<SimHostEvent> FetchEvents() {
    std::vector<std::uint8_t> stream;
    for (const ecrsim::Event& event : sim.TakeEvents()) {
      ecrwire::Message message{
          ecrwire::MessageType::Event, static_cast<std::uint8_t>(event.ecr), 0, event.kind, 0, event.data};
      EXPECT_TRUE(ecrwire::Encode(message, stream));
    }
    ecrwire::Decoder decoder;
    decoder.Feed(stream);
    std::vector<SimHostEvent> received;
    ecrwire::Message message;
    std::string reason;
    while (decoder.Next(message, reason) == ecrwire::Decoder::Result::Message) {
      message.payload.resize(std::min(message.payload.size(), kSimHostMessageBytes));
      received.push_back({message.ecr, message.code, message.payload});
    }
    return received;
  }

  HostInfoRecord& info() { return info_; }
  int FramesTo(int ecr) { return static_cast<int>(sim.Find(ecr)->Log().size()); }

 private:
  using ProgressFunction = void(QUADREL_CALL*)(int count, int percent, int* abort);

  // The register a frame for `ecr` reaches, or 0 when none does.
  int Route(int ecr) const {
    if (!connection_) return ecr;
    return ecr == 1 ? *connection_ : 0;
  }

  // -110 and -106: (progress function, target text, its length, 0, time-out, status word).
  int Connect(int request, int mode, void* a, void* b, void* d, void* e) {
    auto* status = static_cast<std::int32_t*>(e);
    const auto length = reinterpret_cast<std::intptr_t>(b);
    if (!status || !a || length < 0 || length > 2048) return 1;
    SimConnectRequest seen{request,
                           std::string(static_cast<const char*>(a), static_cast<std::size_t>(length)),
                           d ? *static_cast<std::int32_t*>(d) : 0};
    connects.push_back(seen);
    const std::int32_t limit = request == ECRIO_CONNECT ? kSimDialSeconds : seen.timeOut;
    const auto found = targets.find(seen.target);
    // An unknown target rings until the time-out.
    const SimTarget target = found != targets.end() ? found->second : SimTarget{0, limit + 1, 0};
    // Where the function pointer does not fit the int argument the translator
    // passes 0; this in-process host then reaches the translator's relay directly.
    const ProgressFunction progress =
        mode != 0 ? reinterpret_cast<ProgressFunction>(static_cast<std::intptr_t>(mode))
                  : &quadrel::ProgressRelay;
    for (int second = 1; second <= std::min(target.seconds, limit); ++second) {
      int abort = 0;
      progress(second, 100 * second / std::max(limit, 1), &abort);
      if (abort != 0) {
        *status = kSimConnectStopped;
        return 1;
      }
    }
    if (target.seconds > limit) {
      *status = kSimConnectTimedOut;
      return 1;
    }
    if (target.failure != 0 || !sim.Find(target.ecr)) {
      *status = target.failure != 0 ? target.failure : kSimConnectModemError;
      return 1;
    }
    connection_ = target.ecr;
    *status = 0;
    return 0;
  }

  int Service(int request, int mode, void* a, void* b, void* d, void* e) {
    services.push_back(request);
    switch (request) {
      case ECRIO_CONNECT:
      case ECRIO_CONNECT_TIMEOUT:
        return Connect(request, mode, a, b, d, e);
      case ECRIO_DISCONNECT:
      case ECRIO_HANGUP:
        if (connection_) connection_ = 0;
        if (e) *static_cast<std::int32_t*>(e) = 0;
        return 0;
      default:
        return 0;
    }
  }

  static int QUADREL_CALL OnEcrIO(int ecrOrRequest, int mode, void* frame, void* length, void* answer,
                                  void* answerLength, void* detail) {
    SimHost& host = *current_;
    if (ecrOrRequest < 0) return host.Service(ecrOrRequest, mode, frame, length, answerLength, detail);
    const auto* bytes = static_cast<const std::uint8_t*>(frame);
    const int count = IntFromArgument(length);
    const ecrsim::Reply reply =
        host.sim.Exchange(host.Route(ecrOrRequest), {bytes, static_cast<std::size_t>(count)});
    if (!reply.answered) {
      *static_cast<std::int32_t*>(detail) = kSimHostTimeoutDetail;
      return kSimHostTimeOut;
    }
    std::copy(reply.answer.begin(), reply.answer.end(), static_cast<std::uint8_t*>(answer));
    *static_cast<std::int32_t*>(answerLength) = static_cast<std::int32_t>(reply.answer.size());
    *static_cast<std::int32_t*>(detail) = reply.detail;
    if (host.pumpEvents) {
      for (const SimHostEvent& event : host.FetchEvents())
        if (event.kind == 'X')
          Trad_DCXEvent(event.ecr, event.data.data(), static_cast<int>(event.data.size()));
    }
    return reply.hostResult;
  }

  // The frame to registers 1..ecrCount: answer i of `answerSize` bytes, its
  // length and the host result for register i + 1 (a time-out for an absent one).
  static int QUADREL_CALL OnBroadcast(int, const void* frame, int length, int ecrCount, int answerSize,
                                      void* answers, int* answerLengths, int* statusCodes) {
    SimHost& host = *current_;
    ++host.broadcasts;
    if (!frame || length < 1 || length > 512 || ecrCount < 0 || ecrCount > ecrsim::kMaxRegisters ||
        answerSize < 1 || !answers || !answerLengths || !statusCodes)
      return 4;
    const auto* bytes = static_cast<const std::uint8_t*>(frame);
    for (int i = 0; i < ecrCount; ++i) {
      answerLengths[i] = 0;
      statusCodes[i] = kSimHostTimeOut;
      if (!host.sim.Find(i + 1)) continue;
      const ecrsim::Reply reply = host.sim.Exchange(i + 1, {bytes, static_cast<std::size_t>(length)});
      if (!reply.answered || reply.answer.size() > static_cast<std::size_t>(answerSize)) continue;
      std::copy(reply.answer.begin(), reply.answer.end(),
                static_cast<std::uint8_t*>(answers) + i * answerSize);
      answerLengths[i] = static_cast<int>(reply.answer.size());
      statusCodes[i] = reply.hostResult;
    }
    return 0;
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

  // The register's extended status, at most the buffer's kHostStatusExBytes.
  static int QUADREL_CALL OnStatusEx(int ecr, int, int* status, int* length, std::uint8_t* buffer) {
    SimHost& host = *current_;
    ++host.statusExCalls;
    const ecrsim::SimRegister* reg = host.sim.Find(host.Route(ecr));
    if (!reg || !status || !length || !buffer) return kSimHostTimeOut;
    const auto& bytes = reg->Config().Data(ecrsim::Area::ExtendedStatus);
    const std::size_t count = std::min<std::size_t>(bytes.size(), kHostStatusExBytes);
    std::copy_n(bytes.begin(), count, buffer);
    *length = static_cast<int>(count);
    *status = host.statusExWord;
    return host.statusExResult;
  }

  static inline SimHost* current_ = nullptr;
  HostInfoRecord info_{};
  std::int32_t presence_[25] = {0, 1};
  std::optional<int> connection_;
};
