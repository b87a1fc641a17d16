// Lines of text drawn black on white into a 24-bit Windows bitmap file.
#pragma once

#include <string>
#include <vector>

namespace pictor {

constexpr int kMarginDots = 8;
constexpr int kMinColumns = 40;  // a receipt is at least this wide

// Writes the bitmap to `path`: one text row per line, as wide as the longest
// line (at least kMinColumns characters). False when the file cannot be written.
bool WriteTextBitmap(const std::string& path, const std::vector<std::string>& lines);

}  // namespace pictor
