#include "language/command_line_form.h"

#include "language/definition_tables.h"
#include "state/library_state.h"
#include "text/text_helpers.h"

namespace quadrel {

CommandLineText::CommandLineText(int command) : command_(command) {
  const std::string& keyword = OpcodeTable().entries[static_cast<std::size_t>(command)].keyword;
  AppendNameOrNumber(line_, keyword, command, keyword.empty());
  line_ += ' ';
}

void CommandLineText::StartField(int field) {
  if (!firstField_) {
    if (SeparatorChar() != '\0') line_ += SeparatorChar();
    line_ += ' ';
  }
  firstField_ = false;
  const std::string& name = FieldNameTable()
                                .commands[static_cast<std::size_t>(command_)]
                                .fields[static_cast<std::size_t>(field)]
                                .name;
  AppendNameOrNumber(line_, name, field, name.empty());
  line_ += '=';
}

void CommandLineText::Add(int field, std::string_view value) {
  StartField(field);
  line_ += value;
}

void CommandLineText::AddQuoted(int field, std::string_view text) {
  StartField(field);
  const char quote = QuoteChar();
  if (quote == '\0') {
    line_ += text;
    return;
  }
  line_ += quote;
  for (const char c : text) {
    if (c == quote) line_ += quote;
    line_ += c;
  }
  line_ += quote;
}

}  // namespace quadrel
