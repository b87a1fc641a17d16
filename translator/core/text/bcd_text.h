// Register BCD values as text and as numbers. The register writes a negative
// value with 0xD in its first half-byte and an exponent mark with 0xB; a value
// arrives as a run of bytes whose width the configuration record gives.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace quadrel {

// BcdToDecimalText decimals besides a plain count.
constexpr int BCD_REGISTER_DECIMALS = 0;  // the current register's Decimals
constexpr int BCD_NO_POINT = -1;
constexpr int BCD_RAW_DIGITS = -2;

// Appends `bcd` as decimal text and returns `dst`:
// - BCD_RAW_DIGITS: the hex digits as they are, a 7-byte value without its
//   first digit (13 digits);
// - otherwise a first digit 'D' is written as '-' and 'B' as 'E' and counts as
//   '0'; leading zeros go (one digit is kept before the point) and, with d
//   decimals, a '.' stands before the last d digits (negative d: no point).
// With BCD_REGISTER_DECIMALS a result of exactly "0.00" is cut to "0".
std::string& BcdToDecimalText(std::string& dst, std::span<const std::uint8_t> bcd, int decimals);

// The value of `bcd` read as a decimal number: a first half-byte 0xD makes it
// negative, and reading stops at the first half-byte that is not a decimal
// digit. An empty span is 0.
double BcdToNumber(std::span<const std::uint8_t> bcd);

// The register's clock of five BCD bytes (day, month, year, hour, minute) as
// "dd/mm/yy hh:mm" with the current date and time separators.
std::string BcdClockText(std::span<const std::uint8_t, 5> clock);

}  // namespace quadrel
