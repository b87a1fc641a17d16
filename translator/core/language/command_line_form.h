// Command lines written out for a later batch run: the command's keyword (or
// '#' and its number) and its fields as word=value pairs, so that a file of
// them programs the same data again.
#pragma once

#include <string>
#include <string_view>

namespace quadrel {

class CommandLineText {
 public:
  // Starts the line with the command's keyword from the definitions file, or
  // '#' and its number when the file gives none.
  explicit CommandLineText(int command);

  // Appends field `field` with `value` as it stands (numbers).
  void Add(int field, std::string_view value);
  // Appends field `field` with `text` in QuoteChar quotes, inner quotes doubled.
  void AddQuoted(int field, std::string_view text);

  const std::string& Text() const { return line_; }

 private:
  void StartField(int field);

  int command_;
  std::string line_;
  bool firstField_ = true;
};

}  // namespace quadrel
