// Command lines written out for a later batch run: the command's word and its
// fields as word=value pairs joined by the separator and a blank, so that a
// file of them programs the same data again.
#pragma once

#include <string>
#include <string_view>

namespace quadrel {

// How the command and its fields are named on the line.
enum class LineWords {
  NameOrNumber,  // the definitions' name, or '#' and the number where it has none
  Name,          // always the name (empty where the definitions have none)
  Number,        // always '#' and the number
};

// The word of `command` and of field `field` of `command` in the definitions
// ("" when they have none or the number is out of range).
std::string CommandName(int command);
std::string FieldName(int command, int field);

class CommandLineText {
 public:
  explicit CommandLineText(int command, LineWords words = LineWords::NameOrNumber);

  // Starts field `field` and gives the line to append its value to.
  std::string& Field(int field);
  // Appends field `field` with `value` as it stands (numbers).
  void Add(int field, std::string_view value) { Field(field) += value; }
  // Appends field `field` with `text` in QuoteChar quotes, inner quotes doubled.
  void AddQuoted(int field, std::string_view text);

  bool Empty() const { return firstField_; }  // no field added yet
  const std::string& Text() const { return line_; }

 private:
  void AppendWord(const std::string& name, int number);

  int command_;
  LineWords words_;
  std::string line_;
  bool firstField_ = true;
};

}  // namespace quadrel
