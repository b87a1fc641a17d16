#include "commands/chip_card/card_fields.h"

#include <algorithm>
#include <cctype>

#include "text/code_page.h"
#include "text/text_helpers.h"

namespace quadrel {
namespace {

constexpr std::uint8_t kNegativeNibble = 0xD0;
constexpr std::size_t kHexTripleDigits = 6;

bool AllDigits(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return std::isdigit(static_cast<unsigned char>(c)); });
}

}  // namespace

bool AppendCardBcd(CardBytes& dst, std::string_view digits, int byteCount) {
  const std::size_t width = static_cast<std::size_t>(byteCount) * 2;
  if (!AllDigits(digits) || digits.size() > width) return false;
  std::string padded;
  PadLeft(padded, digits, static_cast<int>(width), '0');
  CardBytes packed;
  HexToBytes(padded, packed);
  dst.insert(dst.end(), packed.begin(), packed.end());
  return true;
}

bool AppendSignedBcd(CardBytes& dst, std::string_view number, int byteCount) {
  const bool negative = !number.empty() && number.front() == '-';
  const std::string digits = negative ? "0" + std::string(number.substr(1)) : std::string(number);
  const std::size_t first = dst.size();
  if (!AppendCardBcd(dst, digits, byteCount)) return false;
  if (negative) dst[first] = static_cast<std::uint8_t>(kNegativeNibble | (dst[first] & 0x0F));
  return true;
}

void AppendLeft(CardBytes& dst, std::string_view text, std::size_t width) {
  const std::string_view kept = text.substr(0, width);
  dst.insert(dst.end(), kept.begin(), kept.end());
  dst.insert(dst.end(), width - kept.size(), ' ');
}

void AppendRight(CardBytes& dst, std::string_view text, std::size_t width) {
  const std::string_view kept = text.substr(0, width);
  dst.insert(dst.end(), width - kept.size(), ' ');
  dst.insert(dst.end(), kept.begin(), kept.end());
}

bool HundredthsValue(std::string_view text, int maxValue, int& value) {
  const std::size_t point = text.find('.');
  const std::string_view whole = text.substr(0, point);
  const std::string_view cents = point == std::string_view::npos ? std::string_view() : text.substr(point + 1);
  if (whole.empty() && cents.empty()) return false;
  if (!AllDigits(whole) || !AllDigits(cents) || cents.size() > 2 || whole.size() > 4) return false;
  int result = 0;
  for (char c : whole) result = result * 10 + (c - '0');
  result *= 100;
  if (!cents.empty()) result += (cents[0] - '0') * 10 + (cents.size() == 2 ? cents[1] - '0' : 0);
  if (result > maxValue) return false;
  value = result;
  return true;
}

bool AppendHexTriple(CardBytes& dst, std::string_view text) {
  std::string upper(text);
  for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  CardBytes bytes;
  if (upper.size() != kHexTripleDigits || !HexToBytes(upper, bytes)) return false;
  dst.insert(dst.end(), bytes.begin(), bytes.end());
  return true;
}

}  // namespace quadrel
