#include "commands/programming/key_programming.h"

#include <cstdint>
#include <vector>

#include "language/command_field_values.h"
#include "language/number_helpers.h"
#include "language/result_codes.h"
#include "link/frame_exchange.h"
#include "link/key_map_frames.h"
#include "link/register_checks.h"

namespace quadrel {
namespace {

enum KeyField : int { kFieldPosition = 1, kFieldKeyCode = 2, kFieldSequence = 3 };

constexpr std::uint16_t kSequenceEndMark = 255;

// A required whole number within [low, high]: 0 with `value` set, 266 when
// missing, 265 otherwise.
int RequiredNumber(int slot, int low, int high, int& value) {
  if (!FieldGiven(slot)) return kResultMandatoryField;
  if (!FieldInteger(slot, value) || value < low || value > high) return kResultIllegalValue;
  return 0;
}

int SendBytes(const std::vector<std::uint8_t>& frame) {
  int error = 0;
  return SendEcrFrame(FRAME_PLAIN, frame.data(), static_cast<int>(frame.size()), error) ? 0 : error;
}

int SendMacroSequence(int keyCode) {
  std::vector<std::uint16_t> values;
  if (ParseByteList(FieldText(kFieldSequence), values) < 0) return kResultIllegalValue;
  if (values.empty()) return 0;
  if (values.back() == kSequenceEndMark) values.pop_back();
  std::vector<std::uint8_t> frame = {'C', kMacroFrame, MacroNumber(keyCode)};
  frame.insert(frame.end(), values.begin(), values.end());
  return SendBytes(frame);
}

int ProgramKey(std::uint8_t keyMap) {
  int position = 0;
  int keyCode = 0;
  if (const int refused = RequiredNumber(kFieldPosition, 1, 80, position)) return refused;
  if (const int refused = RequiredNumber(kFieldKeyCode, 0, 255, keyCode)) return refused;
  if (const int failed = SendBytes({'C', keyMap, static_cast<std::uint8_t>(position), static_cast<std::uint8_t>(keyCode)}))
    return failed;
  if (!IsMacroKey(keyCode) || !FieldGiven(kFieldSequence)) return 0;
  return SendMacroSequence(keyCode);
}

}  // namespace

int CmdProgramKey() { return ProgramKey(kFirstKeyMapFrame); }

int CmdProgramKey2() {
  if (!HasSecondKeyMap()) return kResultVersionNotSupported;
  return ProgramKey(kSecondKeyMapFrame);
}

}  // namespace quadrel
