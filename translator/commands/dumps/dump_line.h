// One command line of a register file dump: the command word, a blank, then
// "field=value" pairs joined by the separator and a blank, so that the dump
// replays as a batch. Words are the definitions' names, or "#n" in numeric
// form; a name the definitions lack is written empty.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "files/line_file.h"
#include "language/command_line_form.h"

namespace quadrel {

using RecordBytes = std::span<const std::uint8_t>;

class DumpLine {
 public:
  DumpLine(int command, bool numeric);

  // Register BCD as a whole number, as an amount with the register's
  // decimals, or with `decimals` places.
  DumpLine& Number(int field, RecordBytes bcd);
  DumpLine& Amount(int field, RecordBytes bcd);
  DumpLine& Fixed(int field, RecordBytes bcd, int decimals);
  // A plain integer (record numbers, bytes read as values).
  DumpLine& Integer(int field, long long value);
  // Register text, converted and quoted; zero bytes as blanks.
  DumpLine& Text(int field, RecordBytes text);
  // The yes and no of the messages ("2" and "1" in numeric form).
  DumpLine& YesNo(int field, bool yes);
  // One byte as one digit; "??" for a byte never programmed (0xFF).
  DumpLine& Digit(int field, std::uint8_t value);
  DumpLine& Value(int field, std::string_view value);
  // Plain ASCII (the same in both character sets), quoted.
  DumpLine& Quoted(int field, std::string_view text);

  // No field added yet.
  bool Empty() const { return line_.Empty(); }

  // Writes the line; 0, or 11 when the file takes no more.
  int Write(LineFile& file) const;

 private:
  bool numeric_;
  CommandLineText line_;
};

}  // namespace quadrel
