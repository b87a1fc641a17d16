#include "key_commands.h"

#include <cstdint>
#include <string>

#include "language/command_field_values.h"
#include "language/command_fields.h"
#include "language/number_helpers.h"
#include "language/result_codes.h"
#include "link/key_records.h"
#include "state/executor_state.h"
#include "text/code_page.h"

namespace quadrel {
namespace {

enum PressKeyField : int { kFieldDigits = 1, kFieldTextA = 2, kFieldTextB = 3, kFieldKeyCode = 4 };
enum KeyPositionField : int { kFieldPosition = 1, kFieldFirstPositionFlag = 2, kFieldLastPositionFlag = 5 };

constexpr std::uint8_t kKeyPosition = 14;
constexpr int kMaxKeyCode = 255;

// The two texts of command 9 in one field, a zero byte between them.
std::string PressKeyText() {
  std::string bytes = PcToEcrText(FieldText(kFieldTextA));
  if (!bytes.empty()) bytes.push_back('\0');
  bytes += PcToEcrText(FieldText(kFieldTextB));
  return bytes;
}

}  // namespace

int CmdPressKey() {
  Executor().StopOnRecordError = 1;
  int keyCode = 0;
  if (FieldGiven(kFieldKeyCode) &&
      (!FieldInteger(kFieldKeyCode, keyCode) || keyCode < 0 || keyCode > kMaxKeyCode))
    return kResultIllegalValue;
  // The number may stand before any key, so no count of decimals is wrong for it.
  if (!FieldKeysNumber(kFieldDigits, kAnyDecimals)) return kResultIllegalValue;
  KeyRecords keys;
  keys.Record();
  if (FieldGiven(kFieldDigits)) {
    keys.Digits(FieldText(kFieldDigits));
  } else if (FieldGiven(kFieldTextA) || FieldGiven(kFieldTextB)) {
    keys.TextBytes(PressKeyText());
  }
  keys.Key(static_cast<std::uint8_t>(keyCode));
  return keys.Queue();
}

int CmdSetKeyPosition() {
  Executor().StopOnRecordError = 1;
  std::string& position = CommandFields().value[kFieldPosition];
  for (int slot = kFieldFirstPositionFlag; position.empty() && slot <= kFieldLastPositionFlag; ++slot)
    if (FieldIsFlag(slot)) position = std::to_string(slot - kFieldFirstPositionFlag + 1);
  if (!IsKeyedNumber(position, 0)) return kResultIllegalValue;
  KeyRecords keys;
  keys.Record().Digits(position).Key(kKeyPosition);
  return keys.Queue();
}

}  // namespace quadrel
