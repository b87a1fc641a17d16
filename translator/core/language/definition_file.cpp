#include "language/definition_file.h"

#include <algorithm>
#include <climits>
#include <string_view>

#include "files/line_file.h"
#include "language/command_line.h"
#include "language/definition_tables.h"
#include "language/message_tables.h"
#include "text/text_helpers.h"

namespace quadrel {
namespace {

constexpr int kDefinitionLineLength = 79;  // the rest of a longer line is dropped
constexpr int kDefinitionReadSlot = 1;
constexpr int kMaxKeyCode = kKeyCodeCount - 1;

enum class SectionKind { Labels, KeyLabels, IntMsg, Totg, ErrMsg, Opcodes, CommandFields };

struct Section {
  SectionKind kind = SectionKind::CommandFields;
  int number = 0;  // command number, or ErrMsg table (-1: no such table)
};

// The integer at the start of `text` after blanks, with an optional sign, as
// atoi reads it (0 when there is none), saturated to the int range.
int LeadingNumber(std::string_view text) {
  std::size_t i = text.find_first_not_of(' ');
  if (i == std::string_view::npos) return 0;
  const bool negative = text[i] == '-';
  if (text[i] == '-' || text[i] == '+') ++i;
  long long number = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    number = std::min<long long>(number * 10 + (text[i] - '0'), 1LL + INT_MAX);
  }
  if (negative) number = -number;
  return static_cast<int>(std::clamp<long long>(number, INT_MIN, INT_MAX));
}

// A whole decimal integer with an optional '-', within the int range.
bool ReadInteger(std::string_view text, int& value) {
  const bool negative = !text.empty() && text[0] == '-';
  int magnitude = 0;
  if (!ReadDigits(text.substr(negative ? 1 : 0), magnitude) || magnitude == INT_MAX) return false;
  value = negative ? -magnitude : magnitude;
  return true;
}

Section SectionFromName(std::string_view name) {
  constexpr std::string_view kErrMsg = "ERRMSG";
  if (name == "EQU") return {SectionKind::Labels, 0};
  if (name == "EQUTASTI") return {SectionKind::KeyLabels, 0};
  if (name == "INTMSG") return {SectionKind::IntMsg, 0};
  if (name == "TOTG") return {SectionKind::Totg, 0};
  if (name == "OPCOD") return {SectionKind::Opcodes, 0};
  if (name.substr(0, kErrMsg.size()) == kErrMsg) {
    int table = -1;
    if (!ReadDigits(name.substr(kErrMsg.size()), table) || table >= kErrMsgTableCount) table = -1;
    return {SectionKind::ErrMsg, table};
  }
  return {SectionKind::CommandFields, LeadingNumber(name)};
}

// A "name" or "name,option" value: the first comma that is not the value's
// first character ends the name.
struct NamedValue {
  std::string_view name;
  std::string_view option;
  bool hasOption = false;
};

NamedValue SplitNamedValue(std::string_view value) {
  const std::size_t comma = value.find(',', 1);
  if (comma == std::string_view::npos) return {TrimmedSpan(value), {}, false};
  return {TrimmedSpan(value.substr(0, comma)), value.substr(comma + 1), true};
}

// Applies the lines of one definitions file to the tables.
class DefinitionLoader {
 public:
  bool ApplyLine(std::string_view line) {
    if (line[0] == '[') {
      // The last character is taken for the closing bracket, whatever it is.
      section_ = SectionFromName(line.size() >= 2 ? line.substr(1, line.size() - 2) : "");
      return true;
    }
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) return false;
    const std::string_view key = TrimmedSpan(line.substr(0, equals));
    const std::string_view value = TrimmedSpan(line.substr(equals + 1));
    if (key.empty()) return false;
    switch (section_.kind) {
      case SectionKind::Labels:
        return AddLabel(key, value, false);
      case SectionKind::KeyLabels:
        return AddLabel(key, value, true);
      case SectionKind::IntMsg:
        SetMessage(IntMsgTable(), key, value);
        return true;
      case SectionKind::Totg:
        SetMessage(TotgTable(), key, value);
        return true;
      case SectionKind::ErrMsg:
        // A section for a table number above 9 is ignored line by line.
        if (section_.number >= 0) SetMessage(ErrMsgTable(section_.number), key, value);
        return true;
      case SectionKind::Opcodes:
        return AddOpcode(key, value);
      case SectionKind::CommandFields:
        return AddField(key, value);
    }
    return false;
  }

 private:
  bool AddLabel(std::string_view name, std::string_view valueText, bool isKeyName) {
    LabelTableData& labels = LabelTable();
    int value = 0;
    if (name.size() > kMaxNameLength || labels.count >= kMaxLabels || !ReadInteger(valueText, value))
      return false;
    if (isKeyName && (value < 0 || value > kMaxKeyCode)) return false;
    const int number = ++labels.count;
    labels.labels[number] = {std::string(name), value};
    if (isKeyName) labels.keyMap[value] = number;
    return true;
  }

  // Message lines that do not fit are skipped; the rest of the file still loads.
  static void SetMessage(MessageTable& table, std::string_view rowText, std::string_view value) {
    int row = 0;
    std::string text;
    if (!ReadDigits(rowText, row) || row >= table.RowCount()) return;
    if (UnquoteField(value, text, table.MaxLength()) != UNQUOTE_OK) return;
    table.SetRow(row, text);
  }

  bool AddOpcode(std::string_view key, std::string_view value) {
    int number = 0;
    if (!ReadDigits(key, number) || number < 1 || number > kMaxCommandNumber) return false;
    const NamedValue named = SplitNamedValue(value);
    const int target = named.hasOption ? LeadingNumber(named.option) : 0;
    if (named.name.size() > kMaxNameLength || target < 0 || target > kMaxCommandNumber) return false;
    OpcodeTableData& opcodes = OpcodeTable();
    opcodes.entries[number] = {std::string(named.name), target != 0 ? target : number};
    opcodes.highestCommand = std::max(opcodes.highestCommand, number);
    return true;
  }

  bool AddField(std::string_view key, std::string_view value) {
    const int command = section_.number;
    int number = 0;
    if (command < 0 || command > kMaxCommandNumber || !ReadDigits(key, number) || number < 1 ||
        number > kMaxFieldNumber)
      return false;
    const NamedValue named = SplitNamedValue(value);
    const bool mandatory = named.hasOption && !named.option.empty() && named.option[0] == 'O';
    const int slot = named.hasOption && !mandatory ? LeadingNumber(named.option) : 0;
    if (named.name.size() > kMaxNameLength || slot < 0 || slot > kMaxFieldNumber) return false;
    CommandFieldNames& fields = FieldNameTable().commands[command];
    fields.fields[number] = {std::string(named.name), slot != 0 ? slot : number, mandatory};
    fields.highestField = std::max(fields.highestField, number);
    return true;
  }

  Section section_;  // lines before the first section header belong to command 0
};

}  // namespace

bool LoadDefinitionFile(const std::string& path) {
  // A new file replaces the vocabulary of the last one instead of merging with it.
  ClearDefinitionTables();
  LineFile file;
  if (!OpenLineFile(path, LINE_OPEN_EXISTING, file, kDefinitionReadSlot)) return false;
  DefinitionLoader loader;
  std::string raw;
  std::string line;
  for (;;) {
    const int length = ReadLine(file, raw, kDefinitionLineLength, kDefinitionReadSlot);
    if (length == LINE_END_OF_FILE) return true;
    if (length < 0) return false;
    if (NormalizeLine(line, raw) == 0) continue;
    if (!loader.ApplyLine(line)) return false;
  }
}

}  // namespace quadrel
