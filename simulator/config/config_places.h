// Where a register's configuration keeps the values the simulated functions
// read (answer numbering: offset 1 is the first data byte), shared so that
// every function finds a value in the same place.
#pragma once

#include "config/register_config.h"

namespace ecrsim {

// Identity answer bytes.
constexpr int kNineDigitFlagByte = 48;  // nonzero: the nine-digit line follows the header lines
constexpr int kDecimalsByte = 62;
constexpr int kModelLetterByte = 69;  // the model code's first character

// Block 4 bytes: widths and counts.
constexpr int kAmountBytesByte = 35;
constexpr int kDescriptionBytesByte = 38;
constexpr int kPriceBytesByte = 40;
constexpr int kVatRatesByte = 43;
constexpr int kGroupBytesByte = 57;

// Block 1 words of the file table: a table's base, its record size in the next word.
constexpr int kDepartmentWord = 1;
constexpr int kVatWord = 9;

// 'U' 0 31 words.
constexpr int kTable21CountWord = 43;

// The group field of a department record: block 4 byte 57, or when that is 0
// two bytes with function level 85 and one without.
inline int GroupFieldBytes(const RegisterConfig& config) {
  const int bytes = config.Byte(Area::Block4, kGroupBytesByte);
  return bytes != 0 ? bytes : (config.FeatureLevel(85) != 0 ? 2 : 1);
}

inline char ModelLetter(const RegisterConfig& config) {
  return static_cast<char>(config.Byte(Area::Identity, kModelLetterByte));
}

}  // namespace ecrsim
