#include "amount_keys.h"

#include <cstdint>

#include "commands/sales/keyed_fields.h"
#include "language/command_field_values.h"
#include "language/result_codes.h"
#include "link/key_records.h"
#include "link/register_checks.h"
#include "state/executor_state.h"

namespace quadrel {
namespace {

enum AmountField : int { kFieldAmount = 1, kFieldDollar = 2, kFieldDescription = 3 };

constexpr std::uint8_t kKeyDollar = '$';
constexpr int kFeatureDescription = 96;

int QueueAmountKey(std::uint8_t amountKey) {
  Executor().StopOnRecordError = 1;
  if (!InRegPosition()) return kResultNotInRegPosition;
  if (const int refused = CheckKeyedFields({{kFieldAmount, KeyedValue::Amount}})) return refused;
  KeyRecords keys;
  if (FieldGiven(kFieldDollar)) keys.Record().Key(kKeyDollar);
  // A register without descriptions would take the text as keys: leave it out.
  if (FieldGiven(kFieldDescription) && HasFeature(kFeatureDescription))
    keys.Record().Description(FieldText(kFieldDescription));
  keys.Record();
  if (FieldGiven(kFieldAmount)) keys.Digits(FieldText(kFieldAmount));
  keys.Key(amountKey);
  return keys.Queue();
}

}  // namespace

int CmdAmountKey33() {
  return QueueAmountKey(33);
}
int CmdAmountKey31() {
  return QueueAmountKey(31);
}
int CmdAmountKey32() {
  return QueueAmountKey(32);
}
int CmdAmountKey34() {
  return QueueAmountKey(34);
}

}  // namespace quadrel
