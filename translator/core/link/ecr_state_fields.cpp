#include "link/ecr_state_fields.h"

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "link/frame_exchange.h"
#include "state/library_state.h"
#include "text/bcd_text.h"
#include "text/out_field.h"

namespace quadrel {
namespace {

constexpr std::uint8_t kStateFrameLetter = 'C';
constexpr std::uint8_t kStateFrameCode = 11;
constexpr int kCriticalSignalMask = 0x0C;
// An answer longer than this carries the register's date and time.
constexpr int kAnswerWithClock = 30;
constexpr int kClockFirstByte = 31;

// A byte of the answer in the FrameBuffer; 0 past the answer's end, so a
// short answer reads as zeros rather than as what an earlier frame left.
int AnswerByte(int index) {
  const FrameBufferData& answer = FrameBuffer();
  if (index < 0 || index >= answer.length) return 0;
  return answer.data[static_cast<std::size_t>(index)];
}

// Answer bytes first..last (bounded as AnswerByte is).
std::vector<std::uint8_t> AnswerBytes(int first, int last) {
  std::vector<std::uint8_t> bytes;
  for (int i = first; i <= last; ++i) bytes.push_back(static_cast<std::uint8_t>(AnswerByte(i)));
  return bytes;
}

void AppendDecimalField(std::string& dst, int value) {
  EditOutField(dst, std::to_string(value), 0);
}

// Answer bytes first..last as a BCD number without a decimal point.
void AppendBcdField(std::string& dst, int first, int last) {
  std::string number;
  BcdToDecimalText(number, AnswerBytes(first, last), BCD_NO_POINT);
  EditOutField(dst, number, 0);
}

// The register's clock from bytes 31 to 35.
void AppendClockField(std::string& dst) {
  const std::vector<std::uint8_t> clock = AnswerBytes(kClockFirstByte, kClockFirstByte + 4);
  EditOutField(dst, BcdClockText(std::span<const std::uint8_t, 5>(clock.data(), 5)), OUT_FIELD_TEXT);
}

}  // namespace

bool ReadEcrStateFields(std::string& dst, int& error) {
  const std::array<std::uint8_t, 2> frame = {kStateFrameLetter, kStateFrameCode};
  error = 0;
  FrameBuffer().Load(frame);
  if (!SendFrameBuffer(FRAME_PLAIN, error)) return false;

  std::string fields;
  AppendDecimalField(fields, AnswerByte(8));
  AppendDecimalField(fields, AnswerByte(3) & 1);
  AppendDecimalField(fields, StateAnswerCriticalCode());
  AppendDecimalField(fields, AnswerByte(7));
  AppendBcdField(fields, 9, 12);
  AppendBcdField(fields, 15, 16);
  if (FrameBuffer().length > kAnswerWithClock) {
    AppendClockField(fields);
    AppendDecimalField(fields, AnswerByte(37));
  }
  AppendBcdField(fields, 19, 21);
  AppendBcdField(fields, 22, 24);
  if (!fields.empty() && fields.back() == SeparatorChar() && SeparatorChar() != '\0') fields.pop_back();
  dst += fields;
  return true;
}

int StateAnswerCriticalCode() {
  return (AnswerByte(1) & kCriticalSignalMask) != 0 ? AnswerByte(2) : 0;
}

}  // namespace quadrel
