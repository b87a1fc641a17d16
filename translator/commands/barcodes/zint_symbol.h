// One zint symbol set up from the print command's slots, encoded and rendered
// into rows of printer dots.
#pragma once

#include <cstdint>
#include <vector>

#include "commands/barcodes/zint_barcode.h"

namespace quadrel {

// The rendered symbol: one row of bytes per bitmap row, bit 7 of the first
// byte the leftmost pixel, a set bit a printed dot.
struct ZintBitmap {
  int width = 0;  // pixels
  std::vector<std::vector<std::uint8_t>> rows;
};

// 0, 282 (no library, or encoding or rendering failed) or 265 (a slot that
// is not a number).
int DrawZintSymbol(const ZintCalls& zint, const ZintRequest& request, ZintBitmap& bitmap);

}  // namespace quadrel
