#include "commands/dumps/dump_line.h"

#include <algorithm>

#include "language/message_tables.h"
#include "language/result_codes.h"
#include "text/bcd_text.h"
#include "text/capture_field.h"

namespace quadrel {
namespace {

constexpr std::uint8_t kNotProgrammed = 0xFF;

}  // namespace

DumpLine::DumpLine(int command, bool numeric)
    : numeric_(numeric), line_(command, numeric ? LineWords::Number : LineWords::Name) {}

DumpLine& DumpLine::Number(int field, RecordBytes bcd) {
  return Fixed(field, bcd, BCD_NO_POINT);
}
DumpLine& DumpLine::Amount(int field, RecordBytes bcd) {
  return Fixed(field, bcd, BCD_REGISTER_DECIMALS);
}

DumpLine& DumpLine::Fixed(int field, RecordBytes bcd, int decimals) {
  BcdToDecimalText(line_.Field(field), bcd, decimals);
  return *this;
}

DumpLine& DumpLine::Integer(int field, long long value) {
  return Value(field, std::to_string(value));
}

// A zero byte goes as a blank: the line must not end early where it is read back.
DumpLine& DumpLine::Text(int field, RecordBytes text) {
  std::string held(reinterpret_cast<const char*>(text.data()), text.size());
  std::replace(held.begin(), held.end(), '\0', ' ');
  QuoteText(line_.Field(field), held);
  return *this;
}

DumpLine& DumpLine::YesNo(int field, bool yes) {
  if (numeric_) return Value(field, yes ? "2" : "1");
  return Value(field, IntMsgTable().Row(yes ? kMsgYes : kMsgNo));
}

DumpLine& DumpLine::Digit(int field, std::uint8_t value) {
  return value == kNotProgrammed ? Value(field, "??") : Integer(field, value);
}

DumpLine& DumpLine::Value(int field, std::string_view value) {
  line_.Field(field) += value;
  return *this;
}

DumpLine& DumpLine::Quoted(int field, std::string_view text) {
  QuoteText(line_.Field(field), text);
  return *this;
}

int DumpLine::Write(LineFile& file) const {
  return WriteLine(file, line_.Text()) ? 0 : kResultBatchFileOpenError;
}

}  // namespace quadrel
