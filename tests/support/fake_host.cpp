#include "fake_host.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace quadrel_test {
namespace {

constexpr int kAnswerCapacity = 512;  // the translator's frame buffer
constexpr int kStatusRecordBytes = 4;

FakeHost* active = nullptr;

bool Matches(const Bytes& expected, bool letterOnly, const Bytes& frame) {
  if (letterOnly) return !frame.empty() && frame[0] == expected[0];
  return frame == expected;
}

}  // namespace

Bytes bytes(std::initializer_list<int> values) {
  Bytes out;
  for (int value : values) out.push_back(static_cast<std::uint8_t>(value));
  return out;
}

Bytes bytes(std::string_view text) {
  return Bytes(text.begin(), text.end());
}

std::string hex(const Bytes& data) {
  std::string out;
  char item[4];
  for (std::uint8_t byte : data) {
    std::snprintf(item, sizeof item, "%02X ", byte);
    out += item;
  }
  if (!out.empty()) out.pop_back();
  return out;
}

Bytes status_answer(int state, int critical, int transaction, int keyPosition, int extra) {
  return bytes({'S', state, critical, transaction, 0, keyPosition, extra});
}

Bytes status_idle() {
  return status_answer(1);
}

FakeHost::Step& FakeHost::Step::answer(int hostResult, Bytes bytesOut, int detailOut) {
  result = hostResult;
  answerBytes = std::move(bytesOut);
  detail = detailOut;
  writesAnswer = true;
  return *this;
}

FakeHost::Step& FakeHost::Step::answer_nothing(int hostResult) {
  result = hostResult;
  writesAnswer = false;
  return *this;
}

FakeHost::Step& FakeHost::Step::to(int register_) {
  ecr = register_;
  return *this;
}

FakeHost::Step& FakeHost::Step::meanwhile(std::function<void()> action_) {
  action = std::move(action_);
  return *this;
}

FakeHost::FakeHost() {
  if (active) ADD_FAILURE() << "two FakeHosts at once";
  active = this;
  info_.protocolType = kProtocolConnection;
  info_.versionMajor = 1;
  info_.presenceFlags = presence_;
  info_.broadcastIO = &FakeHost::OnBroadcast;
  info_.status = &FakeHost::OnStatus;
  info_.statusEx = &FakeHost::OnStatusEx;
  info_.trace = &FakeHost::OnTrace;
  info_.registerCount = 1;
  presence_[1] = 1;
}

FakeHost::~FakeHost() {
  for (const Step& step : script_) {
    ADD_FAILURE() << "scripted frame never sent: "
                  << (step.match == Step::Match::Any ? std::string("any") : hex(step.expected));
  }
  if (active == this) active = nullptr;
}

FakeHost::Step& FakeHost::expect(std::string_view frameOrLetter) {
  Step step;
  step.match = frameOrLetter.size() == 1 ? Step::Match::Letter : Step::Match::Exact;
  step.expected = bytes(frameOrLetter);
  script_.push_back(step);
  return script_.back();
}

FakeHost::Step& FakeHost::expect(const Bytes& frame) {
  Step step;
  step.match = Step::Match::Exact;
  step.expected = frame;
  script_.push_back(step);
  return script_.back();
}

FakeHost::Step& FakeHost::expect_any() {
  script_.push_back(Step{});
  return script_.back();
}

TradEcrIOProc FakeHost::io() {
  return &FakeHost::OnEcrIO;
}
TradProgressProc FakeHost::progress() {
  return &FakeHost::OnProgress;
}

void FakeHost::set_present(int ecr, bool present) {
  if (ecr < 1 || ecr > 24) {
    ADD_FAILURE() << "register number out of range: " << ecr;
    return;
  }
  presence_[ecr] = present ? 1 : 0;
}

void FakeHost::status_answers(std::initializer_list<std::pair<int, int>> resultAndFlags) {
  statusScript_.insert(statusScript_.end(), resultAndFlags.begin(), resultAndFlags.end());
}

void FakeHost::broadcast_answer(int ecr, int statusCode, Bytes answerBytes) {
  broadcastReplies_[ecr] = {statusCode, std::move(answerBytes)};
}

std::vector<Bytes> FakeHost::frame_bytes() const {
  std::vector<Bytes> out;
  for (const FrameSeen& seen : frames_) out.push_back(seen.frame);
  return out;
}

int FakeHost::Exchange(int ecr, int mode, const Bytes& frame, void* answer, void* answerLength,
                       void* detail) {
  frames_.push_back({ecr, mode, frame});
  if (script_.empty()) {
    ADD_FAILURE() << "unexpected frame to register " << ecr << ": " << hex(frame);
    return 2;
  }
  const Step step = script_.front();
  script_.pop_front();
  const bool matches =
      step.match == Step::Match::Any || Matches(step.expected, step.match == Step::Match::Letter, frame);
  if (!matches || (step.ecr >= 0 && step.ecr != ecr)) {
    ADD_FAILURE() << "frame " << hex(frame) << " to register " << ecr << ", expected " << hex(step.expected)
                  << (step.match == Step::Match::Letter ? "..." : "");
    return 2;
  }
  if (step.action) step.action();
  if (step.writesAnswer) {
    // *answerLength comes in as the capacity of the answer buffer.
    const std::int32_t capacity = *static_cast<std::int32_t*>(answerLength);
    if (step.answerBytes.size() > static_cast<std::size_t>(std::min(capacity, kAnswerCapacity))) {
      ADD_FAILURE() << "scripted answer longer than the answer buffer (" << capacity << " bytes)";
      return 2;
    }
    if (!step.answerBytes.empty()) std::memcpy(answer, step.answerBytes.data(), step.answerBytes.size());
    *static_cast<std::int32_t*>(answerLength) = static_cast<std::int32_t>(step.answerBytes.size());
    if (detail) *static_cast<std::int32_t*>(detail) = step.detail;
  }
  return step.result;
}

int FakeHost::Service(int request, int mode, void* args[5]) {
  ServiceSeen seen;
  seen.request = request;
  seen.mode = mode;
  std::copy(args, args + 5, seen.args);
  services_.push_back(seen);
  if (request == ECRIO_GET_INFO) {
    if (!infoOffered_) return 1;
    *static_cast<HostInfoRecord**>(args[4]) = &info_;
    return 0;
  }
  if (const auto handler = serviceHandlers_.find(request); handler != serviceHandlers_.end())
    return handler->second(mode, args);
  const auto found = serviceResults_.find(request);
  return found == serviceResults_.end() ? 0 : found->second;
}

int QUADREL_CALL FakeHost::OnEcrIO(int ecrOrRequest, int mode, void* frame, void* length, void* answer,
                                   void* answerLength, void* detail) {
  if (!active) return 2;
  if (ecrOrRequest < 0) {
    void* args[5] = {frame, length, answer, answerLength, detail};
    return active->Service(ecrOrRequest, mode, args);
  }
  const int size = IntFromArgument(length);
  if (!frame || size < 0 || size > kAnswerCapacity) {
    ADD_FAILURE() << "frame length out of range: " << size;
    return 2;
  }
  const auto* data = static_cast<const std::uint8_t*>(frame);
  return active->Exchange(ecrOrRequest, mode, Bytes(data, data + size), answer, answerLength, detail);
}

void QUADREL_CALL FakeHost::OnProgress(int ecr, int count, int percent, const char* text, int* abort) {
  if (!active) return;
  active->progress_.push_back({ecr, count, percent, text ? text : ""});
  const int call = static_cast<int>(active->progress_.size());
  if (abort && active->abortAt_ > 0 && call >= active->abortAt_) *abort = 1;
}

int QUADREL_CALL FakeHost::OnBroadcast(int, const void* frame, int length, int ecrCount, int answerSize,
                                       void* answers, int* answerLengths, int* statusCodes) {
  if (!active) return 2;
  const auto* data = static_cast<const std::uint8_t*>(frame);
  active->broadcasts_.push_back(Bytes(data, data + std::max(length, 0)));
  for (const auto& [ecr, reply] : active->broadcastReplies_) {
    if (ecr < 1 || ecr > ecrCount) continue;
    const int index = ecr - 1;
    const std::size_t size = std::min<std::size_t>(reply.answerBytes.size(), answerSize);
    if (size > 0) {
      std::memcpy(static_cast<std::uint8_t*>(answers) + index * answerSize, reply.answerBytes.data(), size);
    }
    answerLengths[index] = static_cast<int>(size);
    statusCodes[index] = reply.statusCode;
  }
  return active->broadcastResult_;
}

int QUADREL_CALL FakeHost::OnStatus(int ecr, int mode, void* statusRecord) {
  if (!active) return 1;
  active->statusCalls_.push_back({ecr, mode});
  std::pair<int, int> reply = active->statusDefault_;
  if (!active->statusScript_.empty()) {
    reply = active->statusScript_.front();
    active->statusScript_.pop_front();
  }
  std::memset(statusRecord, 0, kStatusRecordBytes);
  *static_cast<std::uint8_t*>(statusRecord) = static_cast<std::uint8_t>(reply.second);
  return reply.first;
}

int QUADREL_CALL FakeHost::OnStatusEx(int, int, int* status, int* length, std::uint8_t*) {
  if (status) *status = 0;
  if (length) *length = 0;
  return 0;
}

int QUADREL_CALL FakeHost::OnTrace(int level, int, int, const char* text, int, int, int, const char*) {
  if (active) active->traces_.push_back({level, text ? text : ""});
  return 0;
}

}  // namespace quadrel_test
