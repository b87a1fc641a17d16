#include "mail/closure/closure_rd_format.h"

#include <algorithm>
#include <charconv>
#include <cinttypes>
#include <cstdint>
#include <cstdio>

namespace quadrel {
namespace {

std::string_view WithoutLeadingZeros(std::string_view digits) {
  const std::size_t first = digits.find_first_not_of('0');
  return first == std::string_view::npos ? std::string_view() : digits.substr(first);
}

std::optional<std::uint32_t> StatusNumber(std::string_view field) {
  std::uint32_t value = 0;
  const auto [end, error] = std::from_chars(field.data(), field.data() + field.size(), value);
  if (error != std::errc() || end != field.data() + field.size() || field.empty()) return std::nullopt;
  return value;
}

}  // namespace

std::string DecimalText(std::string_view digits, int decimals) {
  const auto decimalCount = static_cast<std::size_t>(decimals);
  if (digits.size() < decimalCount) {
    const std::string_view kept = WithoutLeadingZeros(digits);
    return kept.empty() ? "0" : std::string(kept);
  }
  const std::string_view whole = WithoutLeadingZeros(digits.substr(0, digits.size() - decimalCount));
  std::string text = whole.empty() ? "0" : std::string(whole);
  return text.append(",").append(digits.substr(digits.size() - decimalCount));
}

std::string PlainText(std::string_view field) { return field.empty() ? "0" : std::string(field); }

std::optional<std::string> FillLevelText(std::string_view status) {
  constexpr int kFirstField = 4;
  std::optional<std::uint32_t> values[3];
  for (int field = 0; field <= kFirstField + 2; ++field) {
    const std::size_t comma = status.find(',');
    if (comma == std::string_view::npos) return std::nullopt;
    if (field >= kFirstField) values[field - kFirstField] = StatusNumber(status.substr(0, comma));
    status.remove_prefix(comma + 1);
  }
  if (!values[0] || !values[1] || !values[2]) return std::nullopt;
  const std::int64_t a = *values[0], b = *values[1], c = *values[2];
  if (a < b || c <= b) return std::nullopt;
  char level[24];
  std::snprintf(level, sizeof level, "%04" PRId64, (a - b) * 10000 / (c - b));
  return AmountText(level);
}

std::string ReportRow(std::initializer_list<ReportCell> cells, int rowWidth) {
  std::string row;
  for (const ReportCell& cell : cells) {
    const auto width = static_cast<std::size_t>(cell.width);
    row.append(width - std::min(width, cell.text.size()), ' ').append(cell.text.substr(0, width));
  }
  if (row.size() < static_cast<std::size_t>(rowWidth)) row.resize(rowWidth, ' ');
  return row;
}

}  // namespace quadrel
