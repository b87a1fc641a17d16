// The chip-card command's fields turned into the bytes its frames carry:
// packed BCD numbers and amounts, blank-filled texts, the card number value.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quadrel {

using CardBytes = std::vector<std::uint8_t>;

// Appends `digits` (decimal digits only) right-aligned in `byteCount` bytes of
// packed BCD, zeros before them. False, with `dst` unchanged, for another
// character or more digits than fit.
bool AppendCardBcd(CardBytes& dst, std::string_view digits, int byteCount);

// An amount field from an integer text with an optional leading '-': the sign
// counts as a leading 0 digit and a negative value gets 0xD in its first
// half-byte. False as AppendCardBcd.
bool AppendSignedBcd(CardBytes& dst, std::string_view number, int byteCount);

// `text` left-aligned (or right-aligned) in `width` bytes, blank-filled; a
// longer text is cut.
void AppendLeft(CardBytes& dst, std::string_view text, std::size_t width);
void AppendRight(CardBytes& dst, std::string_view text, std::size_t width);

// A decimal text of at most two decimals times 100 (12.5 gives 1250) when it
// is at most `maxValue`; false otherwise.
bool HundredthsValue(std::string_view text, int maxValue, int& value);

// Six hex digits as three bytes; false for anything else.
bool AppendHexTriple(CardBytes& dst, std::string_view text);

}  // namespace quadrel
