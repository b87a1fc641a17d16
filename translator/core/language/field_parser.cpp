#include "language/field_parser.h"

#include <algorithm>
#include <utility>

#include "language/command_fields.h"
#include "language/command_line.h"
#include "language/definition_tables.h"
#include "language/number_helpers.h"
#include "language/result_codes.h"
#include "text/text_helpers.h"

namespace quadrel {
namespace {

constexpr std::string_view kFlagValue = "VERO";

// Reads the name part up to '=' or ','. Sets `hasValue` when '=' ended it.
int ReadFieldName(std::string_view line, std::size_t& position, std::string& name, bool& hasValue) {
  hasValue = false;
  while (position < line.size()) {
    const char c = line[position];
    if (IsQuoteChar(c)) return kSyntaxIllegalFieldName;
    ++position;
    if (c == ',' || c == '=') {
      hasValue = c == '=';
      SkipBlanks(line, position);
      break;
    }
    if (name.size() < kMaxNameLength) name.push_back(c);
  }
  return kResultOk;
}

// Reads the value part up to a ',' outside quotes or the end of the line.
int ReadFieldValue(std::string_view line, std::size_t& position, std::string& value, bool& quoted) {
  const std::size_t start = position;
  const char quote = QuoteChar();
  bool inQuotes = false;
  while (position < line.size()) {
    const char c = line[position];
    if (inQuotes) {
      if (IsQuoteChar(c)) {
        const bool doubled = position + 1 < line.size() && IsQuoteChar(line[position + 1]);
        if (!doubled) {
          inQuotes = false;
          ++position;
          continue;
        }
        // The pair stands for one quote; the quotes must still be closed after it.
        if (line.find(quote, position + 2) == std::string_view::npos) return kSyntaxAlfaValueInvalid;
        ++position;
      }
    } else if (IsQuoteChar(c)) {
      if (position != start || position + 1 >= line.size() ||
          line.find(quote, position + 1) == std::string_view::npos)
        return kSyntaxAlfaValueInvalid;
      inQuotes = quoted = true;
      ++position;
      continue;
    } else if (c == ',') {
      ++position;
      SkipBlanks(line, position);
      break;
    } else if (c == '=') {
      ++position;
      SkipBlanks(line, position);
      continue;
    }
    if (value.size() >= kMaxFieldValueLength) return kSyntaxIllegalValue;
    value.push_back(c);
    ++position;
  }
  return kResultOk;
}

// Turns the raw value into the slot text: a flag, the text, or a label's value.
int ResolveFieldValue(std::string& value, bool quoted) {
  if (quoted) return kResultOk;
  if (value.empty()) {
    value = kFlagValue;
    return kResultOk;
  }
  if (IsDecimalText(value)) return kResultOk;
  int labelValue = 0;
  if (!FindLabel(value, labelValue)) return kSyntaxLabelNotFound;
  value = std::to_string(labelValue);
  return kResultOk;
}

// Field name and given name agree over the shorter of the two.
bool NamesMatch(std::string_view fieldName, std::string_view given, std::size_t& length) {
  length = std::min(fieldName.size(), given.size());
  return !fieldName.empty() && EqualIgnoringCase(fieldName.substr(0, length), given.substr(0, length));
}

}  // namespace

int ParseFieldAssignment(std::string_view line, std::size_t& position, std::string& name, std::string& value,
                         bool& quoted) {
  name.clear();
  value.clear();
  quoted = false;
  SkipBlanks(line, position);
  if (position >= line.size()) return kSyntaxUnexpectedEndOfLine;

  bool hasValue = false;
  int result = ReadFieldName(line, position, name, hasValue);
  if (result == kResultOk && hasValue) result = ReadFieldValue(line, position, value, quoted);
  if (result != kResultOk) return result;
  TrimRight(name);
  if (!quoted) TrimRight(value);
  return ResolveFieldValue(value, quoted);
}

int FindFieldName(int command, std::string_view name, int& slot) {
  if (command < 0 || command > kMaxCommandNumber) return kSyntaxFieldNameNotFound;
  const CommandFieldNames& fields = FieldNameTable().commands[command];

  int number = 0;
  if (name.size() > 1 && name[0] == '#' && ReadDigits(name.substr(1), number) && number >= 1 &&
      number <= fields.highestField) {
    slot = number;
    return kResultOk;
  }

  int firstMatch = 0;
  std::size_t firstLength = 0;
  for (int i = 1; i <= fields.highestField; ++i) {
    const FieldNameEntry& field = fields.fields[i];
    std::size_t length = 0;
    if (!NamesMatch(field.name, name, length)) continue;
    const bool exact = field.name.size() == name.size();
    if (firstMatch == 0) {
      firstMatch = i;
      firstLength = length;
      slot = field.slot;
      if (exact) return kResultOk;
      continue;
    }
    // Fields that fill the same slot never conflict.
    if (length < firstLength || field.slot == slot) continue;
    if (!exact) {
      slot = 0;
      return kSyntaxFieldNameNotUnique;
    }
    slot = field.slot;
    return kResultOk;
  }
  return firstMatch == 0 ? kSyntaxFieldNameNotFound : kResultOk;
}

bool FindLabel(std::string_view name, int& value) {
  const std::string_view wanted = TrimmedSpan(name);
  const LabelTableData& labels = LabelTable();
  for (int i = 1; i <= labels.count; ++i) {
    if (labels.labels[i].name == wanted) {
      value = labels.labels[i].value;
      return true;
    }
  }
  return false;
}

int FillCommandFields(std::string_view line, int command, std::size_t& position) {
  ClearCommandFields();
  CommandFieldSlots& slots = CommandFields();
  std::string name;
  std::string value;
  while (position < line.size()) {
    bool quoted = false;
    int result = ParseFieldAssignment(line, position, name, value, quoted);
    if (result != kResultOk) return result;
    int slot = 0;
    result = FindFieldName(command, name, slot);
    if (result != kResultOk) return result;
    if (slot < 1 || slot >= kFieldSlotCount) return kSyntaxIllegalFieldName;
    slots.value[slot] = std::move(value);
    slots.quoted[slot] = quoted;
    value.clear();
  }
  if (command < 0 || command > kMaxCommandNumber) return kResultOk;
  const CommandFieldNames& fields = FieldNameTable().commands[command];
  for (int i = 1; i <= kMaxFieldNumber; ++i) {
    const FieldNameEntry& field = fields.fields[i];
    if (field.mandatory && slots.value[field.slot].empty()) return kSyntaxMandatoryField;
  }
  return kResultOk;
}

}  // namespace quadrel
