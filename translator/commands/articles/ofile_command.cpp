#include "commands/articles/ofile_command.h"

#include <cstdlib>
#include <string>

#include "language/command_fields.h"
#include "language/number_helpers.h"
#include "language/result_codes.h"
#include "records/ofile_record.h"
#include "records/ofile_write.h"

namespace quadrel {
namespace {

constexpr int kOperationSlot = 20;

struct SlotMove {
  int kind;
  int from;
  int to;
};

// Kind-specific parameters that take the place of the common ones.
constexpr SlotMove kSlotMoves[] = {
    {3, 19, kOFileFirstAmountSlot},                                   //
    {4, 21, kOFileFirstAmountSlot}, {4, 22, kOFileSecondAmountSlot},  //
    {5, 21, kOFileFirstAmountSlot}, {5, 23, kOFileSmallNumberSlot},  {5, 22, kOFileSecondAmountSlot},
    {6, 19, kOFileSmallNumberSlot}, {6, 22, kOFileSecondAmountSlot}, {6, 24, kOFileFirstAmountSlot},
    {6, 25, kOFilePercentSlot},     {7, 26, kOFileTextSlot},
};

// Only the kind itself selects moves: 35 is no kind 3, whatever its low bits.
// An empty alternative leaves the common parameter as it was.
void MoveKindSlots(int kind) {
  auto& value = CommandFields().value;
  for (const SlotMove& move : kSlotMoves) {
    if (move.kind != kind || value[move.from].empty()) continue;
    value[move.to] = value[move.from];
    CommandFields().quoted[move.to] = CommandFields().quoted[move.from];
  }
}

// The amounts at the register's decimals, the percentage at two.
int ConvertNumbers() {
  auto& value = CommandFields().value;
  std::string digits;
  for (const int slot : {kOFileFirstAmountSlot, kOFileSecondAmountSlot}) {
    if (!PadDecimals(value[slot], digits)) return kResultNotNumericField;
    value[slot] = digits;
  }
  if (!PadTwoDecimals(value[kOFilePercentSlot], digits)) return kResultNotNumericField;
  value[kOFilePercentSlot] = digits;
  return 0;
}

}  // namespace

int CmdOFileRecord() {
  CommandFieldSlots& fields = CommandFields();
  const std::string& operation = fields.value[kOperationSlot];
  const bool modify = operation == "M";
  if (!modify && !operation.empty() && operation != "I" && operation != "IM")
    return kResultCommandFieldInvalid;
  for (int slot = kOFileNumberSlot; slot <= kOFileLastPlainSlot; ++slot) {
    if (fields.quoted[slot]) return kResultNotNumericField;
  }
  MoveKindSlots(std::atoi(fields.value[kOFileKindSlot].c_str()));
  if (const int error = ConvertNumbers()) return error;

  return WriteOFileRecord(modify, CurrentArticleGeometry());
}

}  // namespace quadrel
