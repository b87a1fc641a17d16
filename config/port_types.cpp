#include "port_types.h"

namespace lathwell {

const PortTypeRow* FindPortType(std::string_view name) {
  for (const PortTypeRow& row : kPortTypes) {
    if (name == row.name) return &row;
  }
  return nullptr;
}

bool IsPortKind(std::string_view name, PortKind kind) {
  const PortTypeRow* row = FindPortType(name);
  return row != nullptr && row->kind == kind;
}

}  // namespace lathwell
