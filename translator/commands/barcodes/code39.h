// Code 39 rows: the start '*', the data, an optional modulo-43 check
// character and the stop '*', a narrow space between characters.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace quadrel {

constexpr int kCode39Refused = -1;
constexpr int kCode39CharacterModules = 13;  // with the gap before it

// ORs the symbol into the cleared `row` with narrow elements of `moduleDots`
// dots (wide ones twice that) and returns its byte count; kCode39Refused for a
// character outside the set (lower case included) or a row too short.
int EncodeCode39(std::span<std::uint8_t> row, std::string_view text, int moduleDots, bool check);

}  // namespace quadrel
