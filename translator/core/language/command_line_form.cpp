#include "language/command_line_form.h"

#include "language/definition_tables.h"
#include "state/library_state.h"
#include "text/capture_field.h"
#include "text/text_helpers.h"

namespace quadrel {

std::string CommandName(int command) {
  return command >= 1 && command <= kMaxCommandNumber ? OpcodeTable().entries[command].keyword
                                                      : std::string();
}

std::string FieldName(int command, int field) {
  if (command < 1 || command > kMaxCommandNumber || field < 1 || field > kMaxFieldNumber) return {};
  return FieldNameTable().commands[command].fields[field].name;
}

CommandLineText::CommandLineText(int command, LineWords words) : command_(command), words_(words) {
  AppendWord(CommandName(command), command);
  line_ += ' ';
}

void CommandLineText::AppendWord(const std::string& name, int number) {
  const bool numeric = words_ == LineWords::Number || (words_ == LineWords::NameOrNumber && name.empty());
  AppendNameOrNumber(line_, name, number, numeric ? 1 : 0);
}

std::string& CommandLineText::Field(int field) {
  if (!firstField_) {
    if (SeparatorChar() != '\0') line_ += SeparatorChar();
    line_ += ' ';
  }
  firstField_ = false;
  AppendWord(FieldName(command_, field), field);
  line_ += '=';
  return line_;
}

void CommandLineText::AddQuoted(int field, std::string_view text) {
  AppendQuoted(Field(field), text);
}

}  // namespace quadrel
