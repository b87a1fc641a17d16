#include "text/bcd_text.h"

#include "state/ecr_config.h"
#include "state/library_state.h"
#include "text/code_page.h"

namespace quadrel {
namespace {

constexpr std::size_t kLongCodeBytes = 7;  // 14 digits of which the first is padding
constexpr char kMinusDigit = 'D';
constexpr char kExponentDigit = 'B';

}  // namespace

std::string& BcdToDecimalText(std::string& dst, std::span<const std::uint8_t> bcd, int decimals) {
  std::string digits = BytesToHex(bcd);
  if (decimals == BCD_RAW_DIGITS) {
    dst += bcd.size() == kLongCodeBytes ? digits.substr(1) : digits;
    return dst;
  }
  const bool registerDecimals = decimals == BCD_REGISTER_DECIMALS;
  if (registerDecimals) decimals = CurrentRecord().Decimals;
  const std::size_t pointDigits = decimals > 0 ? static_cast<std::size_t>(decimals) : 0;

  std::string text;
  if (!digits.empty() && (digits[0] == kMinusDigit || digits[0] == kExponentDigit)) {
    text += digits[0] == kMinusDigit ? '-' : 'E';
    digits[0] = '0';
  }
  // At least one digit before the point.
  if (digits.size() < pointDigits + 1) digits.insert(0, pointDigits + 1 - digits.size(), '0');
  const std::size_t integerDigits = digits.size() - pointDigits;
  std::size_t start = 0;
  while (start + 1 < integerDigits && digits[start] == '0') ++start;
  text.append(digits, start, integerDigits - start);
  if (pointDigits > 0) {
    text += '.';
    text.append(digits, integerDigits, pointDigits);
  }
  if (registerDecimals && text == "0.00") text = "0";
  dst += text;
  return dst;
}

double BcdToNumber(std::span<const std::uint8_t> bcd) {
  double value = 0;
  bool negative = false;
  for (std::size_t i = 0; i < bcd.size() * 2; ++i) {
    const int digit = i % 2 == 0 ? bcd[i / 2] >> 4 : bcd[i / 2] & 0x0F;
    if (i == 0 && digit == 0x0D) {
      negative = true;
      continue;
    }
    if (digit > 9) break;
    value = value * 10 + digit;
  }
  return negative ? -value : value;
}

std::string BcdClockText(std::span<const std::uint8_t, 5> clock) {
  const TranslatorOptions& options = Library().options;
  const std::string digits = BytesToHex(clock);
  std::string text;
  text.append(digits, 0, 2);
  text += options.DateSeparator;
  text.append(digits, 2, 2);
  text += options.DateSeparator;
  text.append(digits, 4, 2);
  text += ' ';
  text.append(digits, 6, 2);
  text += options.TimeSeparator;
  text.append(digits, 8, 2);
  return text;
}

}  // namespace quadrel
