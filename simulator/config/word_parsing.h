// Numbers and byte strings written as words of the control channel and of
// configuration files.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ecrsim {

// Decimal, or hexadecimal after "0x"; the whole word must be the number.
std::optional<long long> ParseNumber(std::string_view word);

// ParseNumber, refused outside low..high.
std::optional<long long> ParseInRange(std::string_view word, long long low, long long high);

// Pairs of hexadecimal digits, either case; refused at an odd length or a bad digit.
std::optional<std::vector<std::uint8_t>> ParseHex(std::string_view text);

// Bytes as pairs of upper-case hexadecimal digits, the form ParseHex reads.
std::string Hex(const std::vector<std::uint8_t>& bytes);

}  // namespace ecrsim
