// The parameters the two print-line commands share: the text, the margin,
// the barcode kind and module width, and a line given in hex digits.
#pragma once

#include <string>

#include "commands/barcodes/linear_symbol.h"

namespace quadrel {

constexpr int kDefaultModuleDots = 2;
constexpr int kAttributeHexText = 0x04;

// Field `slot` as a whole number from 0 to `high`, `fallback` when not given.
// False for anything else.
bool ByteField(int slot, int fallback, int high, int& value);

struct PrintLineSlots {
  int kind;         // the barcode kind; absent: a plain line
  int moduleWidth;  // 0: the module width is always the default
};

// #3 and the margin #5 into `request`, then (when the kind slot is given, a
// bare flag counting as 0) the module width and the kind and its checks, the
// row starting at byte max(margin, `firstRowByte`). 0 or 265.
int ReadPrintLine(const PrintLineSlots& slots, int firstRowByte, const LineGeometry& line,
                  LineRequest& request);

// Up to 108 hex digits (more are cut) as bytes; false for a character that is
// not an upper-case hex digit.
bool HexLineBytes(const std::string& hex, std::string& bytes);

}  // namespace quadrel
