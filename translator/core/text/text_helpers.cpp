#include "text/text_helpers.h"

#include "state/library_state.h"

namespace quadrel {

int UnquoteField(std::string_view text, std::string& dst, std::size_t max) {
  dst.clear();
  const char quote = QuoteChar();
  const auto fail = [&dst](int code) {
    dst.clear();
    return code;
  };
  const auto append = [&dst, max](char c) {
    if (dst.size() >= max) return false;
    dst.push_back(c);
    return true;
  };

  bool quoted = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (quote == '\0' || c != quote) {
      if (!append(c)) return fail(UNQUOTE_TOO_LONG);
      continue;
    }
    const bool isLast = i + 1 == text.size();
    if (!quoted) {
      // Only the start of the value may open a quoted stretch, and it must close.
      if (!dst.empty() || isLast) return fail(UNQUOTE_BAD_QUOTING);
      quoted = true;
    } else if (!isLast && text[i + 1] == quote) {
      // A doubled quote inside the stretch; the stretch still needs its closing quote.
      if (text.find(quote, i + 2) == std::string_view::npos) return fail(UNQUOTE_BAD_QUOTING);
      if (!append(quote)) return fail(UNQUOTE_TOO_LONG);
      ++i;
    } else {
      quoted = false;
    }
  }
  if (quoted) return fail(UNQUOTE_BAD_QUOTING);
  return UNQUOTE_OK;
}

std::size_t TrimRight(std::string& text) {
  const std::size_t end = text.find_last_not_of(' ');
  text.resize(end == std::string::npos ? 0 : end + 1);
  return text.size();
}

void GetNthField(std::string_view text, std::string& dst, int n, char sep) {
  dst.clear();
  if (n < 1) return;
  std::size_t start = 0;
  for (int field = 1; field < n; ++field) {
    const std::size_t next = text.find(sep, start);
    if (next == std::string_view::npos) return;
    start = next + 1;
  }
  const std::size_t end = text.find(sep, start);
  dst.assign(text.substr(start, end == std::string_view::npos ? text.size() - start : end - start));
}

std::string& AppendNameOrNumber(std::string& dst, std::string_view name, int n, int numeric) {
  if (numeric != 0) {
    dst += '#';
    dst += std::to_string(n);
  } else {
    dst += name;
  }
  return dst;
}

std::string& PadLeft(std::string& dst, std::string_view text, int width, char fill) {
  if (width > 0 && text.size() < static_cast<std::size_t>(width)) {
    dst.append(static_cast<std::size_t>(width) - text.size(), fill);
  }
  dst += text;
  return dst;
}

std::string& PadRight(std::string& dst, std::string_view text, int width, char fill) {
  if (width < 1) return dst;
  const std::size_t size = static_cast<std::size_t>(width);
  const std::string_view kept = text.substr(0, size);
  dst += kept;
  dst.append(size - kept.size(), fill);
  return dst;
}

}  // namespace quadrel
