#include "commands/programming/table_commands.h"

#include <string>

#include "language/command_field_values.h"
#include "language/result_codes.h"
#include "link/frame_exchange.h"
#include "link/register_checks.h"
#include "link/register_link.h"
#include "link/table_keys.h"
#include "link/table_layout.h"
#include "state/ecr_config.h"

namespace quadrel {
namespace {

constexpr int kFirstModifierTable = 4;
constexpr int kCurrencies = 5;
constexpr int kGroups = 5;
constexpr std::size_t kNameBytes = 10;  // currency and group names

// The record number in slot 1 when it lies in 1..`count`.
bool RecordNumber(int count, int& number) { return FieldInteger(1, number) && number >= 1 && number <= count; }

// The first field of record `number` of table 15 as the register holds it.
bool Table15Value(const Table15Layout& layout, int number, int& value, int& error) {
  if (number > layout.basicCount) {
    if (!ReadEcrTableRecord(kTable15Selector, number - layout.basicCount, error)) return false;
    value = FrameBuffer().data[2];
    return true;
  }
  if (!ReadEcrMemory(static_cast<std::uint16_t>(layout.base + (number - 1) * layout.recordBytes), 1, error))
    return false;
  value = FrameBuffer().data[1];
  return true;
}

}  // namespace

int CmdProgramModifier() {
  int modifier = 0;
  if (!FieldInteger(1, modifier) || modifier < 1 || modifier > 2) return kResultIllegalModifier;
  const bool modelK = CurrentRecord().ModelLetter == 'K';
  TableKeys keys;
  keys.Table(std::to_string(modifier + kFirstModifierTable));
  if (!modelK) keys.DigitsThen147(3);
  keys.Digits(4);
  if (!modelK) keys.Text(2);
  return keys.End1().Queue();
}

int CmdProgramCurrency() {
  int number = 0;
  if (!HasCurrencyTable()) return kResultCurrenciesNotSupported;
  if (!RecordNumber(kCurrencies, number)) return kResultIllegalValue;
  TableKeys keys;
  return keys.Table("8").Rec(1).Digits(4).Price(3).Digits(5).Text(2, kNameBytes).End2().Queue();
}

int CmdProgramGroup() {
  int number = 0;
  if (!HasGroupTable()) return kResultGroupsNotSupported;
  if (!RecordNumber(kGroups, number)) return kResultIllegalValue;
  TableKeys keys;
  return keys.Table("14").Rec(1).Text(2, kNameBytes).End1().Queue();
}

int CmdProgramTable15() {
  const EcrConfigRecord& ecr = CurrentRecord();
  if (!HasFeature(57)) return kResultInstructionNotSupported;
  const Table15Layout layout = Table15(ecr);
  int number = 0;
  if (!RecordNumber(layout.basicCount + layout.extendedCount, number)) return kResultIllegalValue;
  int given = -1;
  if (FieldGiven(2) && (!FieldInteger(2, given) || given < 0)) return kResultIllegalValue;
  int value = 0;
  if (int error = 0; !Table15Value(layout, number, value, error)) return error;
  if (given >= 0) value = given;
  TableKeys keys;
  keys.Table("15").Rec(1).Digits(2);
  if (value == 0) return keys.End1().Queue();
  keys.Text(3).Digits(4).Digits(5).Digits(6);
  if (HasFeature(78) || ecr.ExtInfoB != 0) keys.Digits(11);
  return keys.End2().Queue();
}

int CmdProgramTable21() {
  int number = 0;
  if (CurrentRecord().ExtInfoB == 0) return kResultInstructionNotSupported;
  if (!RecordNumber(Table21Count(CurrentRecord()), number)) return kResultIllegalValue;
  TableKeys keys;
  keys.Table("21").Rec(1).Digits(2).Digits(3);
  for (int text = 4; text <= 7; ++text) keys.Text(text);
  return keys.Digits(8).Digits(9).Digits(10).End2().Queue();
}

// The register ends this table by itself after the text.
int CmdProgramTable251() {
  TableKeys keys;
  return keys.Number("251").Digits(1).Digits(2).Digits(3).Digits(4).Text(5).Queue();
}

}  // namespace quadrel
