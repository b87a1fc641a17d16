// The key records that program one record of a register table the way an
// operator keys it in: select the table, select the record, confirm field
// after field, end. Fields take their values from the command's parameter
// slots; a value that cannot be keyed (a number with other characters or
// too many digits, a text over its one-byte length) makes Queue return 265
// with nothing queued, so no table is left half keyed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "link/key_records.h"

namespace quadrel {

class TableKeys {
 public:
  // 'A', the digits of `table`, 147, 145.
  TableKeys& Table(std::string_view table);
  // 'A', the digits of slot `slot`, 145.
  TableKeys& Rec(int slot);
  // 'A' 0 0 4 14: the key to programming position 4.
  TableKeys& KeyPosition4();
  // 'A', the digits of `number`, 145: a number keyed in, such as a table
  // selected without 147 or the programming function position 4 opens.
  TableKeys& Number(std::string_view number);
  // 'A', the digits of `number`, 147, 145.
  TableKeys& NumberThen147(std::string_view number);
  // The digits of `number` and `key` added to the record just built.
  TableKeys& Then(std::string_view number, std::uint8_t key);

  // One field each: 'A', the value, 145; 'A' 145 alone when the slot is empty.
  TableKeys& Digits(int slot);
  // Digits, a price of exactly "0.00" keyed as "0".
  TableKeys& Price(int slot);
  // Digits followed by key 147.
  TableKeys& DigitsThen147(int slot);
  // Digits of a hexadecimal value: A-F (either case) have no digit key and
  // go as key 0, so such a value reaches the register only in part.
  TableKeys& HexDigits(int slot);
  // Digits, nothing for a value of "255".
  TableKeys& DigitsUnless255(int slot);
  TableKeys& Text(int slot);
  // Text, refused (265) when it takes more than `width` register bytes.
  TableKeys& Text(int slot, std::size_t width);
  // A text field of the given text; 'A' 145 for an empty one.
  TableKeys& TextOf(std::string_view text);
  // 'A' 145: the field confirmed unchanged.
  TableKeys& Confirm();

  TableKeys& End1();  // 'A' 146: end of the record
  TableKeys& End2();  // 'A' 146 146: end of the record and of the table

  // 0 with every record in the KeyBatch; 265 or 31 with nothing queued.
  int Queue() const;

 private:
  // 'A', the keys of `number`, `after` (0: none), 145.
  TableKeys& NumberField(std::string_view number, int after);
  // A text field of register bytes, refused over `width` of them.
  TableKeys& EcrText(const std::string& text, std::size_t width);

  KeyRecords records_;
  bool illegal_ = false;
};

}  // namespace quadrel
