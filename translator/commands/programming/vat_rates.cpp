#include "commands/programming/vat_rates.h"

#include <cstdint>
#include <string>

#include "language/command_field_values.h"
#include "language/number_helpers.h"
#include "language/result_codes.h"
#include "link/key_records.h"
#include "state/ecr_config.h"
#include "state/executor_state.h"

namespace quadrel {
namespace {

enum VatField : int { kFieldRate = 1, kFieldValue = 2, kFieldSlotA = 5, kFieldSlotB = 6 };

constexpr std::uint8_t kVatTable = 3;
constexpr std::uint8_t kKeyTable = 147;
constexpr std::uint8_t kKeyNextField = 145;
constexpr std::uint8_t kKeyEnd = 146;
constexpr char kSlotModel = 'M';
constexpr int kMaxSlotA = 7;
constexpr int kMaxSlotB = 4;
constexpr int kSlotBOffset = 7;

// A field read as a number not below 0, empty counting 0.
bool CountField(int slot, int& value) {
  value = 0;
  return !FieldGiven(slot) || (FieldInteger(slot, value) && value >= 0);
}

// The table-3 slot the fields choose, or 0 when they choose none.
int ChosenSlot() {
  int n = 0;
  int a = 0;
  int b = 0;
  if (!CountField(kFieldRate, n) || !CountField(kFieldSlotA, a) || !CountField(kFieldSlotB, b)) return 0;
  const EcrConfigRecord& record = CurrentRecord();
  const int rates = record.Block4Byte43;
  if (n > rates) return 0;
  if (record.ModelLetter != kSlotModel) return n;
  if (a > kMaxSlotA || b > kMaxSlotB) return 0;
  if (b != 0) return rates + b + kSlotBOffset;
  if (a != 0) return rates + a;
  return n;
}

}  // namespace

int CmdProgramVatRate() {
  const int slot = ChosenSlot();
  const std::string& value = FieldText(kFieldValue);
  // A rate is never negative; the keypad has no minus key to send.
  if (slot == 0 || !IsDecimalText(value) || value.find('-') != std::string::npos) return kResultIllegalValue;
  KeyRecords keys;
  keys.Record().Key(kVatTable).Key(kKeyTable).Key(kKeyNextField);
  if (slot > 1) {
    keys.Record();
    for (int skip = 1; skip < slot; ++skip) keys.Key(kKeyNextField);
  }
  keys.Record();
  if (!value.empty()) keys.Digits(value);
  keys.Key(kKeyNextField);
  keys.Record().Key(kKeyEnd);
  Executor().StopOnRecordError = 1;
  return keys.Queue();
}

}  // namespace quadrel
