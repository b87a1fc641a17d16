// The command language's vocabulary, filled from the definitions file:
// keywords of the commands, names of their parameters, and symbolic labels
// (with the map from register key codes to key-name labels).
#pragma once

#include <array>
#include <cstddef>
#include <string>

namespace quadrel {

constexpr int kMaxCommandNumber = 149;      // commands are numbered 1 to 149
constexpr int kMaxFieldNumber = 40;         // fields and parameter slots are numbered 1 to 40
constexpr std::size_t kMaxNameLength = 10;  // keywords, field names, label names
constexpr int kMaxLabels = 300;
constexpr int kKeyCodeCount = 256;

struct OpcodeEntry {
  std::string keyword;  // empty: no keyword for this number
  int command = 0;      // the command the keyword selects (usually its own number)
};

struct OpcodeTableData {
  std::array<OpcodeEntry, kMaxCommandNumber + 1> entries;  // by command number; [0] unused
  int highestCommand = 0;  // '#n' is accepted up to this number; 0 without [OPCOD]
};

struct FieldNameEntry {
  std::string name;  // empty: no such field
  int slot = 0;      // the parameter slot (1 to 40) the field fills
  bool mandatory = false;
};

struct CommandFieldNames {
  std::array<FieldNameEntry, kMaxFieldNumber + 1> fields;  // by field number; [0] unused
  int highestField = 0;
};

struct FieldNameTableData {
  std::array<CommandFieldNames, kMaxCommandNumber + 1> commands;  // by command number 0 to 149
};

struct LabelEntry {
  std::string name;
  int value = 0;
};

struct LabelTableData {
  std::array<LabelEntry, kMaxLabels + 1> labels;  // numbered from 1 in file order; [0] unused
  int count = 0;
  std::array<int, kKeyCodeCount> keyMap{};  // key code -> label number, 0 = none
};

OpcodeTableData& OpcodeTable();
FieldNameTableData& FieldNameTable();
LabelTableData& LabelTable();

// Empties the keywords, field names, labels and key map.
void ClearDefinitionTables();

}  // namespace quadrel
