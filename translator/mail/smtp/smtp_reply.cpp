#include "mail/smtp/smtp_reply.h"

#include <cctype>

namespace quadrel {
namespace {

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

bool IsFinalLine(std::string_view line) {
  return line.size() >= 3 && IsDigit(line[0]) && IsDigit(line[1]) && IsDigit(line[2]) &&
         (line.size() == 3 || line[3] == ' ');
}

bool SameIgnoringCase(std::string_view a, std::string_view b) {
  for (std::size_t i = 0; i < a.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
      return false;
  return true;
}

}  // namespace

std::optional<int> FinalReplyCode(std::string_view reply) {
  std::size_t start = 0;
  for (std::size_t end; (end = reply.find("\r\n", start)) != std::string_view::npos; start = end + 2) {
    std::string_view line = reply.substr(start, end - start);
    if (IsFinalLine(line)) return (line[0] - '0') * 100 + (line[1] - '0') * 10 + (line[2] - '0');
  }
  return std::nullopt;
}

bool HasEhloKeyword(std::string_view reply, std::string_view keyword) {
  if (keyword.empty() || keyword.size() > reply.size()) return false;
  for (std::size_t at = 1; at + keyword.size() <= reply.size(); ++at) {
    char before = reply[at - 1];
    if (before != ' ' && before != '-' && before != '=') continue;
    if (!SameIgnoringCase(reply.substr(at, keyword.size()), keyword)) continue;
    std::string_view after = reply.substr(at + keyword.size());
    if (after.starts_with(' ') || after.starts_with('=') || after.starts_with("\r\n")) return true;
  }
  return false;
}

}  // namespace quadrel
