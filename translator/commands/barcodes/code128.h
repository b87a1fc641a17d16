// Code 128 rows: a start symbol in code set A, B or C, the data with its
// escapes ({A {B {C code sets, {S shift, {1-{4 function characters, {{ a '{'),
// the modulo-103 check symbol and the stop. Set C takes one byte 0-99 a
// symbol. The caption is the human-readable line printed under the bars.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace quadrel {

enum class Code128Set { A = 0, B = 1, C = 2 };

constexpr std::size_t kCode128CaptionMax = 63;  // longer captions are cut

// ORs the symbol into the cleared `row` with modules of `moduleDots` dots and
// returns its byte count, with `caption` replaced; 0 when the text is refused
// (empty, a character its code set lacks, an unknown escape, a shift with no
// character after it or in set C) or the symbol is wider than the row.
int EncodeCode128(std::span<std::uint8_t> row, std::string_view text, int moduleDots, Code128Set start,
                  std::string& caption);

}  // namespace quadrel
