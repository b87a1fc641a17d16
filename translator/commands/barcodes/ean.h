// EAN-13 and EAN-8 rows: two dots a module, digits as given (the check digit
// is part of the data, never computed). A blank draws seven empty modules,
// so blanks alone give the guard bars.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace quadrel {

constexpr int kEan13RowBytes = 24;  // 95 modules, 190 dots
constexpr int kEan8RowBytes = 17;   // 67 modules, 134 dots
constexpr std::size_t kEan13Digits = 13;
constexpr std::size_t kEan8Digits = 8;

// Each ORs the symbol into the cleared `row` and returns its byte count, or 0
// when `text` is not 13 (8) digits and blanks or the row is too short.
int EncodeEan13(std::span<std::uint8_t> row, std::string_view text);
int EncodeEan8(std::span<std::uint8_t> row, std::string_view text);

}  // namespace quadrel
