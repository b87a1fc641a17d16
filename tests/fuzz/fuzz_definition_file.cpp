// Loads arbitrary bytes as a definitions file and checks that whatever loaded
// stays within the tables' limits.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "language/definition_file.h"
#include "language/definition_tables.h"
#include "language/message_tables.h"

namespace {

void CheckTables() {
  using namespace quadrel;
  const OpcodeTableData& opcodes = OpcodeTable();
  if (opcodes.highestCommand < 0 || opcodes.highestCommand > kMaxCommandNumber) __builtin_trap();
  for (const OpcodeEntry& entry : opcodes.entries) {
    if (entry.keyword.size() > kMaxNameLength) __builtin_trap();
    if (!entry.keyword.empty() && (entry.command < 1 || entry.command > kMaxCommandNumber)) __builtin_trap();
  }
  for (const CommandFieldNames& command : FieldNameTable().commands) {
    if (command.highestField < 0 || command.highestField > kMaxFieldNumber) __builtin_trap();
    for (const FieldNameEntry& field : command.fields) {
      if (field.name.size() > kMaxNameLength) __builtin_trap();
      if (!field.name.empty() && (field.slot < 1 || field.slot > kMaxFieldNumber)) __builtin_trap();
    }
  }
  const LabelTableData& labels = LabelTable();
  if (labels.count < 0 || labels.count > kMaxLabels) __builtin_trap();
  for (int number : labels.keyMap) {
    if (number < 0 || number > labels.count) __builtin_trap();
  }
  for (int row = 0; row < kIntMsgRows; ++row) {
    if (IntMsgTable().Row(row).size() > kShortMessageLength) __builtin_trap();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::string path = "/tmp/quadrel_fuzz_defs_" + std::to_string(::getpid()) + ".ini";
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return 0;
  std::fwrite(data, 1, size, file);
  std::fclose(file);
  quadrel::WriteDefaultMessageTexts();
  if (quadrel::LoadDefinitionFile(path)) CheckTables();
  std::remove(path.c_str());
  return 0;
}
