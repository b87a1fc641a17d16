// The picture library's built-in font: 5x7 glyphs of printable ASCII, each a
// cell of 6x9 dots with the space between characters and lines.
#pragma once

#include <array>
#include <cstdint>

namespace pictor {

constexpr int kGlyphWidth = 5;
constexpr int kGlyphHeight = 7;
constexpr int kCellWidth = 6;
constexpr int kCellHeight = 9;

// Five columns, bit 0 the top dot. A character outside 32-126 draws as '?'.
const std::array<std::uint8_t, kGlyphWidth>& Glyph(unsigned char c);

}  // namespace pictor
