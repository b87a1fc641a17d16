#include "records/record_frame.h"

#include <algorithm>
#include <array>

#include "language/result_codes.h"

namespace quadrel {

FrameBufferData& SavedFrameCopy() {
  static FrameBufferData copy;
  return copy;
}

void StartRecordFrame() {
  FrameBuffer().Load(std::array<std::uint8_t, kRecordHeaderBytes>{'U', 0, 0});
}

int AppendToFrame(FrameBufferData& frame, std::span<const std::uint8_t> bytes) {
  const auto length = static_cast<std::size_t>(frame.length);
  if (bytes.size() > frame.data.size() - length) return kResultInternalError;
  std::copy(bytes.begin(), bytes.end(), frame.data.begin() + frame.length);
  frame.length += static_cast<std::int32_t>(bytes.size());
  return 0;
}

int ExchangeRecord(FrameBufferData& frame, std::uint8_t subCode, int& answerCode) {
  frame.data[2] = subCode;
  int error = 0;
  if (!SendEcrFrame(FRAME_PLAIN, frame.data.data(), frame.length, error)) return error;
  const FrameBufferData& answer = FrameBuffer();
  // The letter was checked; a record answer without its code is no answer.
  if (answer.length < 2) return kClassAnswerLetter | answer.data[0];
  answerCode = answer.data[1];
  return 0;
}

int ExchangeRecordRequest(std::uint8_t byte1, std::uint8_t subCode, std::span<const std::uint8_t> rest,
                          int& answerCode) {
  StartRecordFrame();
  FrameBuffer().data[1] = byte1;
  if (const int error = AppendToFrame(FrameBuffer(), rest)) return error;
  return ExchangeRecord(FrameBuffer(), subCode, answerCode);
}

int SendRecord(FrameBufferData& frame, std::uint8_t subCode) {
  int answer = 0;
  if (const int error = ExchangeRecord(frame, subCode, answer)) return error;
  return answer == kAnswerAccepted ? 0 : RecordRefusal(answer);
}

}  // namespace quadrel
