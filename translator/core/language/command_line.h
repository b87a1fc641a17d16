// Text handling shared by command lines and definitions-file lines: comment
// and blank removal, quoting with the current QuoteChar, trimming, and fields
// split at the current SeparatorChar.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "state/library_state.h"

namespace quadrel {

constexpr std::size_t kMaxCommandLineLength = 2046;

// NextField results.
constexpr int kNextFieldOk = 0;
constexpr int kNextFieldBadQuoting = 2;
constexpr int kNextFieldEndOfText = 11;

// A QuoteChar of 0 means "no quoting": no character of a text ever opens quotes.
inline bool IsQuoteChar(char c) {
  return c != '\0' && c == QuoteChar();
}

// dst = src without its comment (from a ';' outside quotes on), tabs turned
// into blanks, without leading blanks, one trailing line feed and trailing
// blanks; inner blanks are kept one for one. Cut to kMaxCommandLineLength.
// Returns the length (0 for an empty or comment-only line).
std::size_t NormalizeLine(std::string& dst, std::string_view src);

// Advances `position` over blanks (not tabs).
void SkipBlanks(std::string_view text, std::size_t& position);

// `text` without leading and trailing blanks.
std::string_view TrimmedSpan(std::string_view text);

// dst = TrimmedSpan(text); returns its length.
std::size_t TrimCopy(std::string& dst, std::string_view text);

// True when both texts have the same length and agree without regard to case.
bool EqualIgnoringCase(std::string_view a, std::string_view b);

// True when `text` is one or more decimal digits and nothing else; `value` is
// the number, capped at INT_MAX.
bool ReadDigits(std::string_view text, int& value);

// Reads the field that starts at `position` (0-based, after blanks) up to the
// next SeparatorChar outside quotes; `position` ends past the separator and the
// blanks after it. A field may be quoted as a whole ('A,B'), with a doubled
// quote for a quote inside; quotes are not stored and `quoted` tells whether
// there were any. Trailing blanks are cut. Returns kNextFieldOk,
// kNextFieldBadQuoting or kNextFieldEndOfText (nothing left).
int NextField(std::string_view text, std::size_t& position, std::string& dst, bool& quoted);

}  // namespace quadrel
