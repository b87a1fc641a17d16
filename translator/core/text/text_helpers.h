// Small text helpers shared by the parser, the loaders and the handlers.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace quadrel {

// UnquoteField results.
constexpr int UNQUOTE_OK = 0;
constexpr int UNQUOTE_BAD_QUOTING = 8;
constexpr int UNQUOTE_TOO_LONG = 9;

// Copies `text` to `dst`, removing the quoting with the current QuoteChar: a
// quoted stretch must open at the start of the result and be closed; inside
// it a doubled quote stands for one quote. Characters after the closing quote
// are copied as they are ('A'B gives AB). Returns UNQUOTE_OK,
// UNQUOTE_BAD_QUOTING or UNQUOTE_TOO_LONG (more than `max` characters); `dst`
// is empty after a failure.
int UnquoteField(std::string_view text, std::string& dst, std::size_t max);

// Cuts trailing blanks of `text` in place; returns the new length.
std::size_t TrimRight(std::string& text);

// `dst` = field `n` (counted from 1) of `text` split at every `sep`, untrimmed;
// empty when there is no such field.
void GetNthField(std::string_view text, std::string& dst, int n, char sep);

// Appends `name`, or '#' and `n` in decimal when `numeric` is not 0, to `dst`.
std::string& AppendNameOrNumber(std::string& dst, std::string_view name, int n, int numeric);

// Appends `fill` up to `width` minus the text's length (none when the text is
// as long or longer), then the whole text. Returns `dst`.
std::string& PadLeft(std::string& dst, std::string_view text, int width, char fill);

// Appends at most `width` characters of `text`, then `fill` up to `width`:
// always exactly `width` characters (none for a width below 1). Returns `dst`.
std::string& PadRight(std::string& dst, std::string_view text, int width, char fill);

}  // namespace quadrel
