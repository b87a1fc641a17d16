#include "language/number_helpers.h"

#include <algorithm>
#include <limits>

#include "language/field_parser.h"
#include "state/ecr_config.h"

namespace quadrel {

namespace {

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

std::string_view TrimBlanks(std::string_view text) {
  const std::size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

bool IsNumberText(std::string_view text, bool allowPoint) {
  text = TrimBlanks(text);
  if (!text.empty() && text.front() == '-') text.remove_prefix(1);
  bool pointSeen = false;
  for (const char c : text) {
    if (c == '.' && allowPoint && !pointSeen) {
      pointSeen = true;
    } else if (!IsDigit(c)) {
      return false;
    }
  }
  return true;
}

// Reads a decimal integer the way the C library's atoi family does: leading
// blanks, an optional sign, then digits up to the first other character. False
// when the value does not fit 64 bits.
bool ReadLeadingInteger(std::string_view text, std::int64_t& value) {
  std::size_t i = text.find_first_not_of(" \t");
  value = 0;
  if (i == std::string_view::npos) return true;
  const bool negative = text[i] == '-';
  if (text[i] == '-' || text[i] == '+') ++i;
  // Accumulate as a negative number: its range holds the magnitude of INT64_MIN.
  constexpr std::int64_t kLowest = std::numeric_limits<std::int64_t>::min();
  std::int64_t accumulated = 0;
  for (; i < text.size() && IsDigit(text[i]); ++i) {
    const int digit = text[i] - '0';
    if (accumulated < (kLowest + digit) / 10) return false;
    accumulated = accumulated * 10 - digit;
  }
  if (!negative) {
    if (accumulated == kLowest) return false;
    accumulated = -accumulated;
  }
  value = accumulated;
  return true;
}

struct PadRule {
  int decimals;                  // zeros are added up to this many decimals
  std::size_t maxIntegerDigits;  // digits allowed before the point
  bool refuseExtraDecimals;      // more decimals than `decimals` fail
};

// Digits of `text` (digits and at most one '.') without the point, with zeros
// added up to the rule's decimals when there is a digit at all.
bool PadToDecimals(std::string_view text, const PadRule& rule, std::string& dst) {
  dst.clear();
  std::size_t integerDigits = 0;
  std::size_t decimalDigits = 0;
  bool pointSeen = false;
  for (const char c : text) {
    if (c == '.' && !pointSeen) {
      pointSeen = true;
    } else if (IsDigit(c)) {
      ++(pointSeen ? decimalDigits : integerDigits);
    } else {
      return false;
    }
  }
  const std::size_t wanted = rule.decimals > 0 ? static_cast<std::size_t>(rule.decimals) : 0;
  if (integerDigits > rule.maxIntegerDigits) return false;
  if (rule.refuseExtraDecimals && (rule.decimals < 0 || decimalDigits > wanted)) return false;
  const std::size_t digits = integerDigits + decimalDigits;
  const std::size_t zeros = (digits > 0 && decimalDigits < wanted) ? wanted - decimalDigits : 0;
  if (digits + zeros > kPaddedNumberMax) return false;
  for (const char c : text) {
    if (c != '.') dst.push_back(c);
  }
  dst.append(zeros, '0');
  return true;
}

// These models cut the net instead of rounding it.
bool TruncatesNet(const EcrConfigRecord& record) {
  return record.ModelChar1IsLetter == 0 &&
         IsModelIn(record.ModelLetter, "145BSTW");
}

// One value of a byte list: a decimal number or a label, 0 to 255.
bool ByteListValue(std::string_view token, std::uint16_t& value) {
  std::int64_t number = 0;
  if (IsDecimalText(token)) {
    if (!ReadLeadingInteger(token, number)) return false;
  } else {
    int labelValue = 0;
    if (!FindLabel(token, labelValue)) return false;
    number = labelValue;
  }
  if (number < 0 || number > 255) return false;
  value = static_cast<std::uint16_t>(number);
  return true;
}

}  // namespace

bool PadDecimals(std::string_view text, std::string& dst) {
  const PadRule rule{CurrentRecord().Decimals, kPaddedNumberMax, true};
  return PadToDecimals(text, rule, dst);
}

bool PadTwoDecimals(std::string_view text, std::string& dst) {
  return PadToDecimals(text, PadRule{2, 2, false}, dst);
}

bool IsDecimalText(std::string_view text) {
  return IsNumberText(text, true);
}

bool IsIntegerText(std::string_view text) {
  return IsNumberText(text, false);
}

bool IsKeyedNumber(std::string_view text, int maxDecimals, bool signAllowed) {
  text = TrimBlanks(text);
  if (signAllowed && !text.empty() && text.front() == '-') text.remove_prefix(1);
  const std::size_t point = text.find('.');
  const std::string_view whole = text.substr(0, point);
  const std::string_view fraction =
      point == std::string_view::npos ? std::string_view() : text.substr(point + 1);
  const auto allDigits = [](std::string_view part) { return std::all_of(part.begin(), part.end(), IsDigit); };
  const std::size_t digits = whole.size() + fraction.size();
  return allDigits(whole) && allDigits(fraction) && digits > 0 && digits <= kMaxKeyedDigits &&
         (maxDecimals == kAnyDecimals || fraction.size() <= static_cast<std::size_t>(maxDecimals));
}

std::string& DigitsToKeys(std::string& dst, std::string_view text) {
  for (const char c : TrimBlanks(text)) {
    char key = 0;
    if (c == '0') {
      key = 10;
    } else if (c == '.') {
      key = 13;
    } else if (c >= '1' && c <= '9') {
      key = static_cast<char>(c - '0');
    }
    dst.push_back(key);
  }
  return dst;
}

int ParseByteList(std::string_view text, std::vector<std::uint16_t>& values) {
  values.clear();
  std::size_t position = 0;
  for (;;) {
    position = text.find_first_not_of(' ', position);
    if (position == std::string_view::npos) break;
    const std::size_t end = std::min(text.find(' ', position), text.size());
    const std::string_view token = text.substr(position, end - position);
    position = end;
    std::uint16_t value = 0;
    if (token.size() > kMaxByteListToken || !ByteListValue(token, value)) {
      return BYTE_LIST_BAD_VALUE;
    }
    if (values.size() == kMaxByteListValues) return BYTE_LIST_TOO_MANY;
    values.push_back(value);
  }
  return static_cast<int>(values.size());
}

bool SplitNetVat(std::string_view gross, std::string_view rate, std::int64_t& net, std::int64_t& tax) {
  net = 0;
  tax = 0;
  std::int64_t grossValue = 0;
  std::int64_t rateValue = 0;
  if (!ReadLeadingInteger(gross, grossValue) || !ReadLeadingInteger(rate, rateValue)) return false;
  constexpr std::int64_t kScale = 100000;
  constexpr std::int64_t kPercentBase = 10000;  // 100 % in hundredths of a percent
  constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
  if (rateValue > kMax - kPercentBase || rateValue + kPercentBase == 0) return false;
  if (grossValue > kMax / kScale || grossValue < -(kMax / kScale)) return false;

  // q carries one extra decimal of the net for the rounding.
  const std::int64_t q = grossValue * kScale / (rateValue + kPercentBase);
  std::int64_t netValue = q / 10;
  const std::int64_t lastDigit = q % 10;
  if (!TruncatesNet(CurrentRecord())) {
    if (lastDigit >= 5) ++netValue;
    if (lastDigit <= -5) --netValue;
  }
  net = netValue;
  tax = grossValue - netValue;
  return true;
}

}  // namespace quadrel
