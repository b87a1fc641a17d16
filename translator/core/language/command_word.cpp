#include "language/command_word.h"

#include <algorithm>

#include "language/command_line.h"
#include "language/definition_tables.h"

namespace quadrel {
namespace {

constexpr std::size_t kMaxTokenCompare = 16;

// '#' followed by digits only.
bool ReadCommandNumber(std::string_view token, int& number) {
  return token.size() > 1 && token[0] == '#' && ReadDigits(token.substr(1), number);
}

}  // namespace

int FindCommandWord(std::string_view line, std::size_t& position, int& command) {
  const std::size_t start = std::min(position, line.size());
  std::size_t end = line.find_first_of(" \t", start);
  if (end == std::string_view::npos) end = line.size();
  std::string_view token = line.substr(start, end - start).substr(0, kMaxTokenCompare);
  position = end;
  SkipBlanks(line, position);
  // An empty token would abbreviate every keyword.
  if (token.empty()) return kCommandWordNotFound;

  const OpcodeTableData& opcodes = OpcodeTable();
  int number = 0;
  if (ReadCommandNumber(token, number) && number >= 1 && number <= opcodes.highestCommand) {
    command = number;
    return kCommandWordFound;
  }

  // The first match is the choice; a later match at least as long either
  // replaces it (exact over abbreviation) or makes the token ambiguous.
  bool found = false;
  bool choiceExact = false;
  std::size_t choiceLength = 0;
  int choice = 0;
  for (int i = 1; i <= kMaxCommandNumber; ++i) {
    const OpcodeEntry& entry = opcodes.entries[i];
    if (entry.keyword.empty()) continue;
    const std::size_t length = std::min(entry.keyword.size(), token.size());
    if (!EqualIgnoringCase(std::string_view(entry.keyword).substr(0, length), token.substr(0, length)))
      continue;
    const bool exact = entry.keyword.size() == token.size();
    if (!found) {
      found = true;
      choice = entry.command;
      choiceLength = length;
      choiceExact = exact;
      continue;
    }
    if (length < choiceLength) continue;
    if (exact && !choiceExact) {
      choice = entry.command;
      choiceLength = length;
      choiceExact = true;
    } else if (exact || !choiceExact) {
      return kCommandWordNotUnique;
    }
  }
  if (!found) return kCommandWordNotFound;
  command = choice;
  return kCommandWordFound;
}

}  // namespace quadrel
