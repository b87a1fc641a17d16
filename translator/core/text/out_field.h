// One field of the separated text outputs of events, dumps and transfers,
// edited as the OutEditOptions say.
#pragma once

#include <string>
#include <string_view>

namespace quadrel {

constexpr int OUT_FIELD_TEXT = 2;  // EditOutField kind of a text; any other kind is a number

// Appends `text` to `dst` as one output field of `kind`:
// - a text is quoted with QuoteChar (inner quotes doubled; no quotes when
//   QuoteChar is 0), except under options 1 where it goes as it is;
// - a number (digits, optionally led by 'D' for minus or 'B' for exponent) has
//   its leading 'D' written as '-' and 'B' as 'E'; under options 2 the leading
//   'D', 'B' and '0' characters before the last one are dropped first
//   ("D00120" -> "-120", "000" -> "0");
// - the SeparatorChar follows, except under options 1 or when it is 0.
// Options other than 1 and 2 edit as 0. Returns `dst`.
std::string& EditOutField(std::string& dst, std::string_view text, int kind);

}  // namespace quadrel
