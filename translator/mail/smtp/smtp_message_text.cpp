#include "mail/smtp/smtp_message_text.h"

#include <algorithm>
#include <cctype>

namespace quadrel {

std::string HeaderValue(std::string_view text) {
  std::string value(text);
  std::replace_if(
      value.begin(), value.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
  return value;
}

bool IsUsableAddress(std::string_view address) {
  return !address.empty() && address.find_first_of("\r\n<>") == std::string_view::npos;
}

std::vector<std::string> DataLines(std::string_view bodyLine) {
  std::vector<std::string> lines;
  for (;;) {
    std::size_t end = bodyLine.find_first_of("\r\n");
    std::string_view line = bodyLine.substr(0, end);
    lines.push_back(line.starts_with('.') ? "." + std::string(line) : std::string(line));
    if (end == std::string_view::npos) return lines;
    bool crLf = bodyLine.substr(end).starts_with("\r\n");
    bodyLine.remove_prefix(end + (crLf ? 2 : 1));
  }
}

std::string AttachmentName(std::string_view path) {
  std::size_t slash = path.find_last_of("\\/");
  return HeaderValue(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

std::string_view AttachmentType(std::string_view name) {
  constexpr std::string_view kText = ".txt";
  bool text = name.size() >= kText.size() &&
              std::equal(kText.begin(), kText.end(), name.end() - kText.size(),
                         [](char a, char b) { return a == std::tolower(static_cast<unsigned char>(b)); });
  return text ? "text/plain" : "image/bmp";
}

}  // namespace quadrel
