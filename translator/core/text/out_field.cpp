#include "text/out_field.h"

#include "state/library_state.h"

namespace quadrel {

namespace {

constexpr int kOptionsPlain = 1;    // texts unquoted, no separators
constexpr int kOptionsCompact = 2;  // numbers without leading zeros

void AppendQuotedText(std::string& dst, std::string_view text) {
  const char quote = QuoteChar();
  if (quote == '\0') {
    dst += text;
    return;
  }
  dst += quote;
  for (const char c : text) {
    if (c == quote) dst += quote;
    dst += c;
  }
  dst += quote;
}

char SignLetterOutput(char c) {
  if (c == 'D') return '-';
  if (c == 'B') return 'E';
  return c;
}

void AppendNumber(std::string& dst, std::string_view text) {
  if (text.empty()) return;
  dst += SignLetterOutput(text.front());
  dst += text.substr(1);
}

// Drops the leading 'D', 'B' and '0' characters (never the last character)
// and shows what the dropped letters meant before the remaining digits.
void AppendCompactNumber(std::string& dst, std::string_view text) {
  bool negative = false;
  bool exponent = false;
  std::size_t start = 0;
  while (start + 1 < text.size()) {
    const char c = text[start];
    if (c == 'D') {
      negative = true;
    } else if (c == 'B') {
      exponent = true;
    } else if (c != '0') {
      break;
    }
    ++start;
  }
  if (negative) dst += '-';
  if (exponent) dst += 'E';
  dst += text.substr(start);
}

}  // namespace

std::string& EditOutField(std::string& dst, std::string_view text, int kind) {
  const int options = Library().options.OutEditOptions;
  const bool isText = kind == OUT_FIELD_TEXT;
  if (isText) {
    if (options == kOptionsPlain) {
      dst += text;
    } else {
      AppendQuotedText(dst, text);
    }
  } else if (options == kOptionsCompact) {
    AppendCompactNumber(dst, text);
  } else {
    AppendNumber(dst, text);
  }
  if (options != kOptionsPlain && SeparatorChar() != '\0') dst += SeparatorChar();
  return dst;
}

}  // namespace quadrel
