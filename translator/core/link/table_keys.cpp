#include "link/table_keys.h"

#include <algorithm>
#include <cctype>
#include <cstdint>

#include "language/command_field_values.h"
#include "language/number_helpers.h"
#include "language/result_codes.h"
#include "text/code_page.h"

namespace quadrel {
namespace {

constexpr std::uint8_t kKeyClear = 0;
constexpr std::uint8_t kKeyPosition = 14;  // the entry becomes the key position
constexpr std::uint8_t kKeyConfirm = 145;
constexpr std::uint8_t kKeyEnd = 146;
constexpr std::uint8_t kKeyTable = 147;

std::string_view TrimBlanks(std::string_view text) {
  const std::size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

}  // namespace

TableKeys& TableKeys::NumberField(std::string_view number, int after) {
  illegal_ |= !IsKeyedNumber(number);
  records_.Record().Digits(number);
  if (after != 0) records_.Key(static_cast<std::uint8_t>(after));
  records_.Key(kKeyConfirm);
  return *this;
}

TableKeys& TableKeys::Table(std::string_view table) { return NumberField(table, kKeyTable); }

TableKeys& TableKeys::Rec(int slot) { return NumberField(FieldText(slot), 0); }

TableKeys& TableKeys::KeyPosition4() {
  records_.Record().Key(kKeyClear).Key(kKeyClear).Digits("4").Key(kKeyPosition);
  return *this;
}

TableKeys& TableKeys::Number(std::string_view number) { return NumberField(number, 0); }

TableKeys& TableKeys::NumberThen147(std::string_view number) { return NumberField(number, kKeyTable); }

TableKeys& TableKeys::Then(std::string_view number, std::uint8_t key) {
  illegal_ |= !number.empty() && !IsKeyedNumber(number);
  records_.Digits(number).Key(key);
  return *this;
}

TableKeys& TableKeys::Digits(int slot) {
  return FieldGiven(slot) ? NumberField(FieldText(slot), 0) : Confirm();
}

TableKeys& TableKeys::Price(int slot) {
  return TrimBlanks(FieldText(slot)) == "0.00" ? NumberField("0", 0) : Digits(slot);
}

TableKeys& TableKeys::DigitsThen147(int slot) {
  return FieldGiven(slot) ? NumberField(FieldText(slot), kKeyTable) : Confirm();
}

TableKeys& TableKeys::HexDigits(int slot) {
  if (!FieldGiven(slot)) return Confirm();
  const std::string_view value = TrimBlanks(FieldText(slot));
  illegal_ |= value.empty() || value.size() > kMaxKeyedDigits ||
              !std::all_of(value.begin(), value.end(), [](char c) { return std::isxdigit(static_cast<unsigned char>(c)); });
  records_.Record().Digits(value).Key(kKeyConfirm);
  return *this;
}

TableKeys& TableKeys::DigitsUnless255(int slot) {
  return TrimBlanks(FieldText(slot)) == "255" ? Confirm() : Digits(slot);
}

TableKeys& TableKeys::Text(int slot) { return Text(slot, kMaxTextFieldBytes); }

TableKeys& TableKeys::Text(int slot, std::size_t width) {
  if (!FieldGiven(slot)) return Confirm();
  return EcrText(PcToEcrText(FieldText(slot)), width);
}

TableKeys& TableKeys::TextOf(std::string_view text) {
  return text.empty() ? Confirm() : EcrText(PcToEcrText(text), kMaxTextFieldBytes);
}

TableKeys& TableKeys::EcrText(const std::string& text, std::size_t width) {
  illegal_ |= text.size() > std::min(width, kMaxTextFieldBytes);
  records_.Record().TextBytes(text).Key(kKeyConfirm);
  return *this;
}

TableKeys& TableKeys::Confirm() {
  records_.Record().Key(kKeyConfirm);
  return *this;
}

TableKeys& TableKeys::End1() {
  records_.Record().Key(kKeyEnd);
  return *this;
}

TableKeys& TableKeys::End2() {
  records_.Record().Key(kKeyEnd).Key(kKeyEnd);
  return *this;
}

int TableKeys::Queue() const { return illegal_ ? kResultIllegalValue : records_.Queue(); }

}  // namespace quadrel
