#include "commands/dumps/dump_line.h"

#include <algorithm>

#include "language/definition_tables.h"
#include "language/message_tables.h"
#include "language/result_codes.h"
#include "state/library_state.h"
#include "text/bcd_text.h"
#include "text/capture_field.h"
#include "text/text_helpers.h"

namespace quadrel {
namespace {

constexpr std::uint8_t kNotProgrammed = 0xFF;

}  // namespace

std::string CommandName(int command) {
  return command >= 1 && command <= kMaxCommandNumber ? OpcodeTable().entries[command].keyword : std::string();
}

std::string FieldName(int command, int field) {
  if (command < 1 || command > kMaxCommandNumber || field < 1 || field > kMaxFieldNumber) return {};
  return FieldNameTable().commands[command].fields[field].name;
}

DumpLine::DumpLine(int command, bool numeric) : command_(command), numeric_(numeric) {
  AppendNameOrNumber(line_, CommandName(command), command, numeric ? 1 : 0);
  line_ += ' ';
}

std::string& DumpLine::Start(int field) {
  if (!first_) {
    line_ += SeparatorChar();
    line_ += ' ';
  }
  first_ = false;
  AppendNameOrNumber(line_, FieldName(command_, field), field, numeric_ ? 1 : 0);
  line_ += '=';
  return line_;
}

DumpLine& DumpLine::Number(int field, RecordBytes bcd) { return Fixed(field, bcd, BCD_NO_POINT); }
DumpLine& DumpLine::Amount(int field, RecordBytes bcd) { return Fixed(field, bcd, BCD_REGISTER_DECIMALS); }

DumpLine& DumpLine::Fixed(int field, RecordBytes bcd, int decimals) {
  BcdToDecimalText(Start(field), bcd, decimals);
  return *this;
}

DumpLine& DumpLine::Integer(int field, long long value) { return Value(field, std::to_string(value)); }

// A zero byte goes as a blank: the line must not end early where it is read back.
DumpLine& DumpLine::Text(int field, RecordBytes text) {
  std::string held(reinterpret_cast<const char*>(text.data()), text.size());
  std::replace(held.begin(), held.end(), '\0', ' ');
  QuoteText(Start(field), held);
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
  Start(field) += value;
  return *this;
}

int DumpLine::Write(LineFile& file) const { return WriteLine(file, line_) ? 0 : kResultBatchFileOpenError; }

}  // namespace quadrel
