// The command token of a command line: '#' and a number, or a keyword of the
// opcode table, possibly abbreviated.
#pragma once

#include <cstddef>
#include <string_view>

namespace quadrel {

// FindCommandWord results (rows of the syntax message table).
constexpr int kCommandWordFound = 0;
constexpr int kCommandWordNotFound = 1;
constexpr int kCommandWordNotUnique = 2;

// Reads the token that starts at `position` (0-based) and ends at a blank, a
// tab or the end of `line`; afterwards `position` is past the blanks that
// follow it. '#n' with n from 1 to the highest loaded command number gives n;
// anything else is looked up as a keyword, compared without regard to case
// over the shorter of keyword and token (at most 16 characters of the token).
// An exact match wins over an abbreviation; two abbreviations, or two exact
// matches, are not unique. `command` is set only when the result is 0.
int FindCommandWord(std::string_view line, std::size_t& position, int& command);

}  // namespace quadrel
