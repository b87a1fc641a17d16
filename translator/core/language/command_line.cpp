#include "language/command_line.h"

#include <cctype>
#include <climits>

#include "text/text_helpers.h"

namespace quadrel {

std::size_t NormalizeLine(std::string& dst, std::string_view src) {
  dst.clear();
  bool inQuotes = false;
  for (std::size_t i = 0; i < src.size(); ++i) {
    char c = src[i];
    if (!inQuotes && c == ';') break;
    if (IsQuoteChar(c)) {
      if (!inQuotes) {
        inQuotes = true;
      } else if (i + 1 < src.size() && IsQuoteChar(src[i + 1])) {
        // A doubled quote stands for one quote and keeps the stretch open.
        dst.append(2, c);
        ++i;
        continue;
      } else {
        inQuotes = false;
      }
    }
    if (c == '\t') c = ' ';
    if (c == ' ' && dst.empty()) continue;
    dst.push_back(c);
  }
  if (!dst.empty() && dst.back() == '\n') dst.pop_back();
  if (dst.size() > kMaxCommandLineLength) dst.resize(kMaxCommandLineLength);
  return TrimRight(dst);
}

void SkipBlanks(std::string_view text, std::size_t& position) {
  while (position < text.size() && text[position] == ' ') ++position;
}

std::string_view TrimmedSpan(std::string_view text) {
  std::size_t start = text.find_first_not_of(' ');
  if (start == std::string_view::npos) return text.substr(text.size());
  std::size_t end = text.find_last_not_of(' ');
  return text.substr(start, end - start + 1);
}

std::size_t TrimCopy(std::string& dst, std::string_view text) {
  dst = TrimmedSpan(text);
  return dst.size();
}

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (std::toupper(static_cast<unsigned char>(a[i])) != std::toupper(static_cast<unsigned char>(b[i])))
      return false;
  }
  return true;
}

bool ReadDigits(std::string_view text, int& value) {
  if (text.empty()) return false;
  long long number = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    if (number <= INT_MAX) number = number * 10 + (c - '0');
  }
  value = number > INT_MAX ? INT_MAX : static_cast<int>(number);
  return true;
}

int NextField(std::string_view text, std::size_t& position, std::string& dst, bool& quoted) {
  dst.clear();
  quoted = false;
  SkipBlanks(text, position);
  if (position >= text.size()) return kNextFieldEndOfText;
  const std::size_t start = position;
  const char quote = QuoteChar();
  bool inQuotes = false;
  while (position < text.size()) {
    char c = text[position];
    if (inQuotes) {
      if (!IsQuoteChar(c)) {
        dst.push_back(c);
        ++position;
      } else if (position + 1 < text.size() && IsQuoteChar(text[position + 1])) {
        // A doubled quote must still leave a closing quote after it.
        if (text.find(quote, position + 2) == std::string_view::npos) return kNextFieldBadQuoting;
        dst.push_back(c);
        position += 2;
      } else {
        inQuotes = false;
        ++position;
      }
      continue;
    }
    if (c == SeparatorChar()) {
      ++position;
      SkipBlanks(text, position);
      break;
    }
    if (IsQuoteChar(c)) {
      if (position != start || position + 1 >= text.size() ||
          text.find(quote, position + 1) == std::string_view::npos)
        return kNextFieldBadQuoting;
      inQuotes = quoted = true;
      ++position;
      continue;
    }
    dst.push_back(c);
    ++position;
  }
  TrimRight(dst);
  return kNextFieldOk;
}

}  // namespace quadrel
