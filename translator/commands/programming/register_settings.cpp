#include "commands/programming/register_settings.h"

#include <array>
#include <cstdint>
#include <cstdio>
#include <string>
#include <utility>

#include "config/ecr_config_read.h"
#include "language/command_field_values.h"
#include "language/result_codes.h"
#include "link/register_checks.h"
#include "link/register_link.h"
#include "link/table_keys.h"
#include "state/ecr_config.h"
#include "state/executor_state.h"

namespace quadrel {
namespace {

constexpr std::array kPercentSlots = {1, 2, 3, 4, 12, 13};
constexpr std::size_t kBasicPercentages = 4;
constexpr int kFullPercent = 100;

// Flag slots and their bits in the size text.
constexpr std::array<std::pair<int, int>, 4> kFlagSlots = {{{5, 1}, {7, 2}, {8, 4}, {6, 8}}};
constexpr int kFlagFreeV = 2;  // v is checked against w instead of being w
enum SizeSlot : int { kSlotV = 9, kSlotB = 10, kSlotW = 11 };
constexpr int kDefaultSize = 14;
constexpr int kDefaultB = 16;
constexpr int kMaxB = 24;

// The closing record of the percentages: the second function, then 2 with 147 and 145.
constexpr std::uint8_t kKeyTable = 147;
constexpr std::uint8_t kKeyConfirm = 145;

constexpr std::uint8_t kParameterFrame = 10;  // 'C' 10 parameter value
constexpr int kParameters = 64;
constexpr int kFeatureTable4Text = 76;
constexpr int kTable4TextLevel = 2;

// Slot `slot` as a whole number within [low, high]; `fallback` when empty.
bool NumberOr(int slot, int fallback, int low, int high, int& value) {
  if (!FieldGiven(slot)) {
    value = fallback;
    return true;
  }
  return FieldInteger(slot, value) && value >= low && value <= high;
}

std::string TwoDigits(int value) {
  std::array<char, 12> text{};
  std::snprintf(text.data(), text.size(), "%02d", value);
  return text.data();
}

// Two characters per percentage, '0' + tens and '0' + units (100 gives ":0").
bool PercentText(bool extended, std::string& text) {
  int sum = 0;
  for (std::size_t i = 0; i < kPercentSlots.size(); ++i) {
    int percent = 0;
    if (!NumberOr(kPercentSlots[i], 0, 0, kFullPercent, percent)) return false;
    sum += percent;
    if (i >= kBasicPercentages && !extended) continue;
    text += static_cast<char>('0' + percent / 10);
    text += static_cast<char>('0' + percent % 10);
  }
  return sum <= kFullPercent;
}

// Two digits each of the flags, v, B and w / 2.
bool SizeText(std::string& text) {
  int flags = 0;
  for (const auto& [slot, bit] : kFlagSlots)
    if (FieldIsFlag(slot) || FieldText(slot) == "1") flags += bit;
  const bool freeV = (flags & kFlagFreeV) != 0;
  int v = 0;
  int b = 0;
  int w = 0;
  if (!NumberOr(kSlotV, kDefaultSize, 0, 99, v) || !NumberOr(kSlotB, kDefaultB, 0, kMaxB, b) ||
      !NumberOr(kSlotW, freeV ? kDefaultSize : v, 0, 99, w))
    return false;
  if (w % 2 != 0 || w < 12 || w > 16) return false;
  if (freeV) {
    if (v < w || v < 8 || v > 20) return false;
  } else {
    if (v != w || v % 2 != 0 || v < 12 || v > 16) return false;
    v /= 2;
  }
  text = TwoDigits(flags) + TwoDigits(v) + TwoDigits(b) + TwoDigits(w / 2);
  return true;
}

// Idle, and the configuration read when it is not kept yet: 0 or the code.
int IdleWithConfiguration() {
  if (!EcrIdle()) return kResultEcrNotIdle;
  return ReadEcrConfig(0);
}

}  // namespace

int CmdProgramPercentages() {
  if (const int refused = IdleWithConfiguration()) return refused;
  const EcrConfigRecord& ecr = CurrentRecord();
  std::string percentages;
  std::string sizes;
  if (!PercentText(ecr.ExtInfoA != 0 || ecr.ExtInfoB != 0, percentages) || !SizeText(sizes))
    return kResultIllegalValue;
  TableKeys keys;
  keys.KeyPosition4().Number(std::to_string(ecr.ModelLimitD)).Confirm().TextOf(percentages).TextOf(sizes);
  keys.Number(std::to_string(ecr.ModelLimitE)).Then("2", kKeyTable).Then("", kKeyConfirm);
  Executor().StopOnRecordError = 1;
  return keys.Queue();
}

int CmdSetEcrParameter() {
  if (const int refused = IdleWithConfiguration()) return refused;
  if (CurrentRecord().ModelLetter != 'N') return kResultInstructionNotSupported;
  int parameter = 0;
  int value = 0;
  if (!FieldInteger(1, parameter) || parameter < 1 || parameter > kParameters || !FieldInteger(2, value) ||
      value < 0 || value > 255)
    return kResultIllegalValue;
  int error = 0;
  SendFrame4('C', kParameterFrame, static_cast<std::uint8_t>(parameter), static_cast<std::uint8_t>(value), error);
  return error;
}

int CmdProgramTable4Record() {
  const EcrConfigRecord& ecr = CurrentRecord();
  int number = 0;
  if (!FieldInteger(1, number) || number < 1 || number > ecr.Block4Width42) return kResultIllegalValue;
  if (!EcrIdle()) return kResultEcrNotIdle;
  TableKeys keys;
  keys.KeyPosition4().Number(std::to_string(ecr.ModelLimitF)).Rec(1).Digits(3).Digits(4);
  if (FeatureLevel(kFeatureTable4Text) == kTable4TextLevel) keys.Digits(5).Text(2);
  return keys.End1().Queue();
}

}  // namespace quadrel
