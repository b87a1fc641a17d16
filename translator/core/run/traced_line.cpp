#include "run/traced_line.h"

#include <vector>

#include "language/command_line.h"
#include "language/command_word.h"
#include "language/field_parser.h"
#include "language/result_codes.h"
#include "run/command_rows.h"

namespace quadrel {
namespace {

struct Span {
  std::size_t start, end;
};

// The value of the assignment over [start, end) of `line`: after its first
// '=', without the separator and the blanks around it; empty for a flag.
Span ValueSpan(std::string_view line, std::size_t start, std::size_t end) {
  const std::size_t equals = line.substr(0, end).find('=', start);
  if (equals == std::string_view::npos) return {end, end};
  std::size_t valueStart = equals + 1;
  SkipBlanks(line, valueStart);
  std::size_t valueEnd = end;
  while (valueEnd > valueStart && line[valueEnd - 1] == ' ') --valueEnd;
  if (end < line.size() && valueEnd > valueStart && line[valueEnd - 1] == ',') --valueEnd;
  while (valueEnd > valueStart && line[valueEnd - 1] == ' ') --valueEnd;
  return {valueStart, valueEnd};
}

// The spans of `line` (a normalized line) that must not be traced.
std::vector<Span> CredentialSpans(std::string_view line) {
  std::vector<Span> spans;
  std::size_t position = 0;
  int command = 0;
  if (FindCommandWord(line, position, command) != kCommandWordFound) return spans;
  const CommandRow& row = FindCommandRow(command);
  if (row.credentialFields == 0) return spans;
  std::string name, value;
  while (position < line.size()) {
    const std::size_t start = position;
    bool quoted = false;
    const int parsed = ParseFieldAssignment(line, position, name, value, quoted);
    // An unknown label still ends where its value ends; other failures may not.
    if (parsed != kResultOk && parsed != kSyntaxLabelNotFound) {
      spans.push_back({start, line.size()});
      return spans;
    }
    int slot = 0;
    if (FindFieldName(command, name, slot) != kResultOk || row.IsCredential(slot))
      spans.push_back(ValueSpan(line, start, position));
  }
  return spans;
}

}  // namespace

std::string TracedLine(std::string_view line) {
  std::string normalized;
  if (NormalizeLine(normalized, line) == 0) return std::string(line);
  const std::vector<Span> spans = CredentialSpans(normalized);
  if (spans.empty()) return std::string(line);
  // NormalizeLine only drops what leads, so the rest maps one to one.
  const std::size_t offset = line.find_first_not_of(" \t");
  std::string traced(line.substr(0, offset));
  std::size_t at = 0;
  for (const Span& span : spans) {
    traced.append(normalized, at, span.start - at);
    if (span.end > span.start) traced += kHiddenValue;
    at = span.end;
  }
  traced.append(normalized, at);
  // What follows the line read is a comment or blanks; anything else was cut
  // off by the length limit and may hold a value.
  const std::string_view rest = line.substr(offset + normalized.size());
  const std::size_t shown = rest.find_first_not_of(" \t\r\n");
  if (shown == std::string_view::npos || rest[shown] == ';') {
    traced += rest;
  } else {
    traced += kHiddenValue;
  }
  return traced;
}

}  // namespace quadrel
