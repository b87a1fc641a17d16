#include "command_switches.h"

#include <cctype>
#include <vector>

namespace ravelin {
namespace {

constexpr std::string_view kBlanks = " \t\r\n";

std::string_view Trim(std::string_view text) {
  const auto first = text.find_first_not_of(kBlanks);
  if (first == std::string_view::npos) return {};
  const auto last = text.find_last_not_of(kBlanks);
  return text.substr(first, last - first + 1);
}

bool SameWord(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (std::toupper(static_cast<unsigned char>(a[i])) != std::toupper(static_cast<unsigned char>(b[i])))
      return false;
  return true;
}

// The unquoted words of the line; a quoted word (a path) is never a switch.
std::vector<std::string_view> SwitchCandidates(std::string_view line) {
  std::vector<std::string_view> words;
  std::size_t i = 0;
  while (i < line.size()) {
    if (kBlanks.find(line[i]) != std::string_view::npos) {
      ++i;
    } else if (line[i] == '"') {
      const auto close = line.find('"', i + 1);
      i = close == std::string_view::npos ? line.size() : close + 1;
    } else {
      const auto end = line.find_first_of(kBlanks, i);
      const std::size_t stop = end == std::string_view::npos ? line.size() : end;
      words.push_back(line.substr(i, stop - i));
      i = stop;
    }
  }
  return words;
}

}  // namespace

TStartOptions ParseCommandLine(std::string_view arguments) {
  TStartOptions options;
  for (std::string_view word : SwitchCandidates(arguments)) {
    if (word.size() < 2 || (word[0] != '/' && word[0] != '-')) continue;
    const std::string_view name = word.substr(1);
    if (SameWord(name, "REGSERVER")) options.regServer = true;
    if (SameWord(name, "UNREGSERVER")) options.unregServer = true;
    if (SameWord(name, "AUTOMATION")) options.automation = true;
    if (SameWord(name, "EMBEDDING")) options.embedding = true;
  }
  const std::string_view line = Trim(arguments);
  if (line.size() >= 2 && line[0] == '/' && std::toupper(static_cast<unsigned char>(line[1])) == 'P') {
    options.autoRunPort = std::string(Trim(line.substr(2)));
    options.autoRunPortGiven = true;
  }
  return options;
}

}  // namespace ravelin
