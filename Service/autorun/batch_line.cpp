#include "autorun/batch_line.h"

namespace ravelin {
namespace {

std::string Quoted(const std::string& name, char quote) {
  if (quote == '\0') return name;
  std::string text(1, quote);
  for (const char c : name) {
    if (c == quote) text.push_back(quote);
    text.push_back(c);
  }
  text.push_back(quote);
  return text;
}

}  // namespace

std::string BatchLine(const std::string& commandFile, const std::string& errorsFile, char quote) {
  return "@ " + Quoted(commandFile, quote) + kDefaultSeparator + ' ' + Quoted(errorsFile, quote);
}

}  // namespace ravelin
