#include "language/command_field_values.h"

#include <charconv>
#include <string>

#include "language/command_fields.h"
#include "language/number_helpers.h"

namespace quadrel {

const std::string& FieldText(int slot) {
  static const std::string kNone;
  if (slot < 1 || slot >= kFieldSlotCount) return kNone;
  return CommandFields().value[static_cast<std::size_t>(slot)];
}

bool FieldGiven(int slot) {
  return !FieldText(slot).empty();
}

bool FieldIsFlag(int slot) {
  return FieldText(slot) == kBareFlag;
}

bool FieldSwitchOn(int slot) {
  return FieldIsFlag(slot) || FieldText(slot) == "2";
}

bool FieldInteger(int slot, int& value) {
  std::string_view text = FieldText(slot);
  const std::size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return false;
  text = text.substr(first, text.find_last_not_of(' ') - first + 1);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  int parsed = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), parsed);
  if (error != std::errc{} || end != text.data() + text.size()) return false;
  value = parsed;
  return true;
}

bool FieldKeysNumber(int slot, int maxDecimals) {
  const std::string& text = FieldText(slot);
  return text.find_first_not_of(' ') == std::string::npos || IsKeyedNumber(text, maxDecimals);
}

int FieldLeadingNumber(int slot) {
  const std::string& text = FieldText(slot);
  std::size_t i = 0;
  const bool negative = i < text.size() && text[i] == '-';
  if (negative) ++i;
  int value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9' && value < 100000000; ++i)
    value = value * 10 + (text[i] - '0');
  return negative ? -value : value;
}

}  // namespace quadrel
