#include "run/command_rows.h"

#include <array>

#include "language/definition_tables.h"
#include "language/result_codes.h"

namespace quadrel {
namespace {

int NotSupported() { return kResultInstructionNotSupported; }

constexpr CommandRow kNotSupportedRow{0, NotSupported, 0, nullptr};

// Indexed by command number: every command line looks its row up.
using RowIndex = std::array<const CommandRow*, kMaxCommandNumber + 1>;

RowIndex& Index() {
  static RowIndex index{};
  return index;
}

}  // namespace

void UseCommandTable(std::span<const CommandRow> rows) {
  RowIndex& index = Index();
  index.fill(&kNotSupportedRow);
  for (const CommandRow& row : rows) {
    if (row.number >= 1 && row.number <= kMaxCommandNumber) index[static_cast<std::size_t>(row.number)] = &row;
  }
}

const CommandRow& FindCommandRow(int command) {
  if (command < 1 || command > kMaxCommandNumber) return kNotSupportedRow;
  const CommandRow* row = Index()[static_cast<std::size_t>(command)];
  return row ? *row : kNotSupportedRow;
}

}  // namespace quadrel
