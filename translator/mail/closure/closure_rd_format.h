// How the readable closure report (rd) shows values: amounts and quantities
// with a decimal comma, plain values, the journal fill level, and rows of
// right-aligned columns.
#pragma once

#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

namespace quadrel {

// The register's digits without a decimal point, leading zeros removed and a
// "," before the last `decimals` digits ("00012345" gives "123,45",
// "00000005" gives "0,05"). A value with fewer digits than decimals only
// loses its leading zeros; nothing left reads "0".
std::string DecimalText(std::string_view digits, int decimals);
inline std::string AmountText(std::string_view digits) { return DecimalText(digits, 2); }
inline std::string QuantityText(std::string_view digits) { return DecimalText(digits, 3); }

// The field as it is, or "0" when it is empty.
std::string PlainText(std::string_view field);

// The fill level of the electronic journal from the register's status text:
// fields 4, 5 and 6 (from 0, split at ",", followed by a ",") are a, b and c,
// and the level is (a - b) * 100 / (c - b) percent with two decimals. Nothing
// when a field is missing or not a number, or when a < b or c <= b.
std::optional<std::string> FillLevelText(std::string_view status);

struct ReportCell {
  std::string text;  // owned: cells are mostly built from temporaries
  int width;
};

// The cells side by side, each right-aligned in its width (a longer text keeps
// its first characters), then blanks up to `rowWidth`.
std::string ReportRow(std::initializer_list<ReportCell> cells, int rowWidth = 0);

}  // namespace quadrel
