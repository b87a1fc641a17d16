// Checks and conversions of the number texts that commands carry: decimal
// scaling to the register's decimals, keypad codes, byte lists and the split
// of a gross amount into net and tax.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quadrel {

// Longest digit string PadDecimals and PadTwoDecimals produce.
constexpr std::size_t kPaddedNumberMax = 20;

// `dst` = the digits of `text` (digits and at most one '.') without the point,
// followed by zeros up to the current register's Decimals when the text has a
// digit. False, with `dst` empty, for any other character, more decimals than
// the register has, or a result longer than kPaddedNumberMax.
bool PadDecimals(std::string_view text, std::string& dst);

// As PadDecimals for two decimals, for values below 100: false also for more
// than two digits before the point. More than two decimals are kept as they
// are (1.234 gives 1234).
bool PadTwoDecimals(std::string_view text, std::string& dst);

// The text without leading and trailing blanks holds digits only, with an
// optional '-' first and at most one '.'. An empty text passes.
bool IsDecimalText(std::string_view text);

// As IsDecimalText without the '.'.
bool IsIntegerText(std::string_view text);

// Decimals a quantity keeps on the register.
constexpr int kQuantityDecimals = 3;
// IsKeyedNumber without a limit on the decimals.
constexpr int kAnyDecimals = -1;
// The widest number a register field holds: nine BCD bytes.
constexpr std::size_t kMaxKeyedDigits = 18;

// The one rule for a number keyed in or compared with a register amount:
// blanks around it, a leading '-' only when `signAllowed`, then digits with
// at most one '.', at least one digit, at most kMaxKeyedDigits of them and at
// most `maxDecimals` after the point. Anything else (a letter, a comma, a
// blank inside) would key the clear key or the wrong digits.
bool IsKeyedNumber(std::string_view text, int maxDecimals = kAnyDecimals, bool signAllowed = false);

// Appends the keypad code of every character of `text` (without leading and
// trailing blanks): '1'-'9' -> 1-9, '0' -> 10, '.' -> 13, anything else -> 0.
std::string& DigitsToKeys(std::string& dst, std::string_view text);

// ParseByteList limits and failures.
constexpr std::size_t kMaxByteListValues = 99;
constexpr std::size_t kMaxByteListToken = 31;
constexpr int BYTE_LIST_BAD_VALUE = -1;  // over-long token, unknown label, outside 0-255
constexpr int BYTE_LIST_TOO_MANY = -2;   // more than kMaxByteListValues values

// Reads blank-separated values, each a decimal number or a label, into
// `values`; a trailing blank is not needed. Returns the number of values or
// one of the failures above.
int ParseByteList(std::string_view text, std::vector<std::uint16_t>& values);

// Splits the gross amount `gross` at the VAT rate `rate` (hundredths of a
// percent) into `net` and `tax` = gross - net. Both texts are read as decimal
// integers as far as they hold digits (leading blanks and a sign allowed; no
// digits reads as 0). The net is rounded half away from zero, or truncated on
// the register models that truncate. False, with both outputs 0, for a value
// beyond 64 bits, a rate of -100 % (rate + 10000 == 0) or a gross amount whose
// scaling by 100000 would overflow.
bool SplitNetVat(std::string_view gross, std::string_view rate, std::int64_t& net, std::int64_t& tax);

}  // namespace quadrel
