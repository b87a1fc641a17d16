#include "config/bcd_digits.h"

#include <string>

namespace ecrsim {

std::optional<std::vector<std::uint8_t>> PackBcd(std::string_view number, int width) {
  const bool negative = !number.empty() && number[0] == '-';
  if (negative) number.remove_prefix(1);
  if (number.empty() || width < 1) return std::nullopt;
  for (const char c : number) {
    if (c < '0' || c > '9') return std::nullopt;
  }
  const std::size_t digits = 2 * static_cast<std::size_t>(width);
  // The sign takes the first half-byte.
  if (number.size() > digits - (negative ? 1 : 0)) return std::nullopt;
  std::string text = std::string(digits - number.size(), '0') + std::string(number);
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(width));
  for (std::size_t i = 0; i < bytes.size(); ++i)
    bytes[i] = static_cast<std::uint8_t>((text[2 * i] - '0') << 4 | (text[2 * i + 1] - '0'));
  if (negative) bytes[0] = static_cast<std::uint8_t>(0xD0 | (bytes[0] & 0x0F));
  return bytes;
}

std::optional<std::int64_t> UnpackBcd(std::span<const std::uint8_t> bytes) {
  std::int64_t value = 0;
  bool negative = false;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const int high = bytes[i] >> 4;
    const int low = bytes[i] & 0x0F;
    if (i == 0 && high == 0xD) {
      negative = true;
    } else if (high > 9) {
      return std::nullopt;
    }
    if (low > 9) return std::nullopt;
    value = value * 100 + (negative && i == 0 ? 0 : high * 10) + low;
  }
  return negative ? -value : value;
}

}  // namespace ecrsim
