#include "ecr_state_fields.h"

#include <array>
#include <cstdint>

#include "frame_exchange.h"
#include "library_state.h"
#include "out_field.h"

namespace quadrel {
namespace {

constexpr std::uint8_t kStateFrameLetter = 'C';
constexpr std::uint8_t kStateFrameCode = 11;
constexpr int kCriticalSignalMask = 0x0C;
// An answer longer than this carries the register's date and time.
constexpr int kAnswerWithClock = 30;

// A byte of the answer in the FrameBuffer; 0 past the answer's end, so a
// short answer reads as zeros rather than as what an earlier frame left.
int AnswerByte(int index) {
  const FrameBufferData& answer = FrameBuffer();
  if (index < 0 || index >= answer.length) return 0;
  return answer.data[static_cast<std::size_t>(index)];
}

void AppendHexByte(std::string& dst, int byte) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  dst += kDigits[(byte >> 4) & 0x0F];
  dst += kDigits[byte & 0x0F];
}

void AppendDecimalField(std::string& dst, int value) {
  EditOutField(dst, std::to_string(value), 0);
}

// Answer bytes first..last as a BCD number without a decimal point: leading
// zeros dropped (one digit kept), a first half-byte D or B kept as the sign
// letter that EditOutField shows as '-' or 'E'.
void AppendBcdField(std::string& dst, int first, int last) {
  std::string digits;
  for (int i = first; i <= last; ++i) AppendHexByte(digits, AnswerByte(i));
  std::string number;
  std::size_t start = 0;
  if (digits[0] == 'D' || digits[0] == 'B') {
    number += digits[0];
    start = 1;
  }
  while (start + 1 < digits.size() && digits[start] == '0') ++start;
  number += digits.substr(start);
  EditOutField(dst, number, 0);
}

// "dd/mm/yy hh:mm" from the hex digits of bytes 31 to 35.
void AppendClockField(std::string& dst) {
  const TranslatorOptions& options = Library().options;
  std::string clock;
  AppendHexByte(clock, AnswerByte(31));
  clock += options.DateSeparator;
  AppendHexByte(clock, AnswerByte(32));
  clock += options.DateSeparator;
  AppendHexByte(clock, AnswerByte(33));
  clock += ' ';
  AppendHexByte(clock, AnswerByte(34));
  clock += options.TimeSeparator;
  AppendHexByte(clock, AnswerByte(35));
  EditOutField(dst, clock, OUT_FIELD_TEXT);
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
  if (!fields.empty() && fields.back() == SeparatorChar() && SeparatorChar() != '\0')
    fields.pop_back();
  dst += fields;
  return true;
}

int StateAnswerCriticalCode() {
  return (AnswerByte(1) & kCriticalSignalMask) != 0 ? AnswerByte(2) : 0;
}

}  // namespace quadrel
