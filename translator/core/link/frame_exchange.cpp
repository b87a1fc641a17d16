#include "link/frame_exchange.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

#include "language/message_tables.h"
#include "language/result_codes.h"
#include "state/ecr_config.h"
#include "state/library_state.h"

namespace quadrel {
namespace {

constexpr std::uint8_t kKeyFrame = 'A';
constexpr std::uint8_t kStatusAnswer = 'S';
constexpr int kStatusAnswerMinLength = 6;  // letter and bytes 1 to 5
constexpr int kExtraByte = 6;

// Answers come into a buffer of their own, so a host that claims bytes it
// never wrote can never hand the request back as the answer; those bytes read
// as zero. The buffer is kept zeroed between exchanges (each exchange clears
// what its answer claimed), so a frame pays for its answer's bytes, not for
// the whole buffer. One buffer: exchanges run on one thread.
using AnswerBuffer = std::array<std::uint8_t, kMaxFrameLength>;

AnswerBuffer& ZeroedAnswerBuffer() {
  static AnswerBuffer buffer{};
  return buffer;
}

int FrameMode(int flags) {
  if (flags & FRAME_MODE_0) return 0;
  if (flags & FRAME_MODE_11) return 11;
  return 3;
}

// The letter a correct answer begins with: 'S' for key frames, else the frame's own.
std::uint8_t ExpectedAnswerLetter(std::uint8_t frameLetter) {
  return frameLetter == kKeyFrame ? kStatusAnswer : frameLetter;
}

int IncorrectAnswer(const std::uint8_t* answer, int length) {
  return kClassAnswerLetter | (length >= 1 ? answer[0] : 0);
}

void UpdateStatusBytes(std::uint8_t frameLetter, const std::uint8_t* answer, int length) {
  EcrStatusFields& status = EcrStatusBytes();
  if (frameLetter == kKeyFrame && answer[1] == 4) {
    status.state = 'B';
    status.criticalCode = 0;
  } else {
    status.state = answer[1];
    status.criticalCode = answer[2];
  }
  status.transactionFlags = answer[3];
  status.keyPosition = answer[5];
  status.extra = length > kExtraByte ? answer[kExtraByte] : 0;
}

bool BroadcastFrame(int mode, const std::uint8_t* frame, int length, int& error) {
  const HostInfoRecord* info = Library().host.info;
  error = kResultBroadcastError;
  if (!info || !info->broadcastIO || !info->presenceFlags) return false;

  // 24 answers of a full frame each: static, the exchange runs on one thread.
  static std::uint8_t answers[kEcrCount][kMaxFrameLength];
  std::int32_t answerLengths[kEcrCount] = {};
  std::int32_t statusCodes[kEcrCount] = {};
  const int result = info->broadcastIO(mode, frame, length, kEcrCount, static_cast<int>(kMaxFrameLength),
                                       answers, answerLengths, statusCodes);
  if (result == 1 || result == 2) return false;

  const std::uint8_t expected = ExpectedAnswerLetter(frame[0]);
  bool allAnswered = true;
  for (int ecr = 1; ecr <= kEcrCount; ++ecr) {
    if (!(info->presenceFlags[ecr] & 1)) continue;
    const int index = ecr - 1;
    const int answerLength = answerLengths[index];
    const bool answered = statusCodes[index] == 0 && answerLength >= 1 &&
                          answerLength <= static_cast<int>(kMaxFrameLength) && answers[index][0] == expected;
    allAnswered = allAnswered && answered;
  }
  if (allAnswered) error = 0;
  return allAnswered;
}

// Host result r of an exchange: 0 when the answer is to be checked, else the error.
int HostResultError(int r, std::uint8_t frameLetter, const std::uint8_t* answer, int length, int detail) {
  const bool statusAnswerToKeys = frameLetter == kKeyFrame && length >= 1 && answer[0] == kStatusAnswer;
  if ((r == 8 || r == 32) && statusAnswerToKeys) return 0;
  switch (r) {
    case 0:
      return 0;
    case 1:
    case 2:
    case 4:
      return HostLinkError(detail);
    case 8:
      return length >= 2 ? kClassEcrDataError | answer[1] : IncorrectAnswer(answer, length);
    case 32:
      return kResultCriticalState;
    default:
      return HostLinkError(r);
  }
}

}  // namespace

bool FrameBufferData::Load(std::span<const std::uint8_t> frame) {
  if (frame.size() > data.size()) return false;
  std::copy(frame.begin(), frame.end(), data.begin());
  length = static_cast<std::int32_t>(frame.size());
  return true;
}

FrameBufferData& FrameBuffer() {
  static FrameBufferData buffer;
  return buffer;
}

EcrStatusFields& EcrStatusBytes() {
  static EcrStatusFields status;
  return status;
}

bool SendEcrFrame(int flags, const std::uint8_t* frame, int length, int& error) {
  error = 0;
  if (!frame || length < 1 || length > static_cast<int>(kMaxFrameLength)) {
    error = kResultInternalError;
    return false;
  }
  const int mode = FrameMode(flags);
  if (Library().broadcastMode) return BroadcastFrame(mode, frame, length, error);

  const TradEcrIOProc hostIO = Library().host.hostIO;
  if (!hostIO) {
    error = kResultNotInitialised;
    return false;
  }
  const std::uint8_t frameLetter = frame[0];
  AnswerBuffer& received = ZeroedAnswerBuffer();
  std::int32_t receivedLength = static_cast<std::int32_t>(kMaxFrameLength);  // capacity in, length out
  std::int32_t detail = 0;
  const int r = hostIO(CurrentEcr(), mode, const_cast<std::uint8_t*>(frame), IntArgument(length),
                       received.data(), &receivedLength, &detail);
  const bool lengthInRange = receivedLength >= 0 && receivedLength <= static_cast<int>(kMaxFrameLength);
  if (!lengthInRange) receivedLength = 0;
  FrameBufferData& buffer = FrameBuffer();
  std::copy_n(received.begin(), receivedLength, buffer.data.begin());
  buffer.length = receivedLength;
  // Zeroed again for the next answer: what this one claimed, or all of it
  // when its length was nonsense and nothing says how far the host wrote.
  std::fill_n(received.begin(), lengthInRange ? receivedLength : static_cast<int>(kMaxFrameLength), 0);
  const std::uint8_t* answer = buffer.data.data();
  const int answerLength = buffer.length;

  error = HostResultError(r, frameLetter, answer, answerLength, detail);
  if (error != 0) return false;
  if (answerLength < 1 || answer[0] != ExpectedAnswerLetter(frameLetter)) {
    error = IncorrectAnswer(answer, answerLength);
    return false;
  }
  if (answer[0] == kStatusAnswer) {
    if (answerLength < kStatusAnswerMinLength) {
      error = IncorrectAnswer(answer, answerLength);
      return false;
    }
    UpdateStatusBytes(frameLetter, answer, answerLength);
  }
  return true;
}

bool SendFrameBuffer(int flags, int& error) {
  FrameBufferData& buffer = FrameBuffer();
  return SendEcrFrame(flags, buffer.data.data(), buffer.length, error);
}

int RequestHostService(int request, int mode, void* a, void* b, void* c, void* d, void* e) {
  const TradEcrIOProc hostIO = Library().host.hostIO;
  if (!hostIO) return -1;
  return hostIO(request, mode, a, b, c, d, e);
}

void QUADREL_CALL ProgressRelay(int count, int percent, int* abort) {
  ReportProgress(CurrentEcr(), count, percent, IntMsgTable().Row(kMsgCallInProgress).c_str(), abort);
}

int ProgressRelayArgument() {
#if INTPTR_MAX == INT32_MAX
  return static_cast<int>(reinterpret_cast<std::intptr_t>(&ProgressRelay));
#else
  return 0;
#endif
}

}  // namespace quadrel
