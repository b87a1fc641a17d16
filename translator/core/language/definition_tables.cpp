#include "language/definition_tables.h"

namespace quadrel {

OpcodeTableData& OpcodeTable() {
  static OpcodeTableData table;
  return table;
}

FieldNameTableData& FieldNameTable() {
  static FieldNameTableData table;
  return table;
}

LabelTableData& LabelTable() {
  static LabelTableData table;
  return table;
}

void ClearDefinitionTables() {
  OpcodeTable() = OpcodeTableData{};
  FieldNameTable() = FieldNameTableData{};
  LabelTable() = LabelTableData{};
}

}  // namespace quadrel
