// Register BCD numbers: two decimal digits a byte, most significant first; a
// negative number has 0xD in its first half-byte.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace ecrsim {

// "-1234" in 3 bytes -> D0 12 34. Digits only after an optional '-'; nullopt
// when the number (with its sign half-byte) does not fit in `width` bytes.
std::optional<std::vector<std::uint8_t>> PackBcd(std::string_view number, int width);

// The value of packed BCD bytes (0xD in the first half-byte: negative);
// nullopt for a half-byte above 9 anywhere else.
std::optional<std::int64_t> UnpackBcd(std::span<const std::uint8_t> bytes);

}  // namespace ecrsim
