// The register's closure downloads as text: CR LF lines, the comma-separated
// fields of a totals line and what a line's record code stands for.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace quadrel {

constexpr int kClosureMaxFields = 5;
constexpr std::size_t kClosureMaxFieldLength = 51;

// The fields of one totals line. Fields past `count` are empty, so a short
// line never shows another line's values.
struct ClosureFields {
  std::array<std::string, kClosureMaxFields> field;
  int count = 0;

  bool Has(int n) const { return n < count; }
  const std::string& operator[](int n) const { return field[n]; }
};

// Splits one line at ",": an apostrophe opens a quoted value in which "''"
// stands for one apostrophe; the value ends at its closing apostrophe and
// anything after it up to the next "," is dropped. Only the first five fields
// are kept, each cut to 51 characters. An empty line gives one empty field.
ClosureFields SplitClosureLine(std::string_view line);

// Takes the next line off the front of `text`, without its CR LF; a last line
// without CR LF counts too. False when `text` is used up.
bool TakeCrLfLine(std::string_view& text, std::string_view& line);

// The decimal number the text begins with after any blanks (0 when no digit
// comes first), capped so that no text overflows it.
std::int64_t LeadingNumber(std::string_view text);

// What a record code of the totals text stands for.
enum class ClosureRecord {
  Date,           // 1: date and time of the closure
  DayTotal,       // 2
  Receipts,       // 3: number of receipts
  Other,          // every other code below 1000
  ReceiptVat,     // 1000-1019
  ReceiptReason,  // 1020-1039: exemption reasons
  InvoiceVat,     // 1050-1059
  InvoiceReason,  // 1070-2000
  Department,     // 2001-3000
  DailyTotal,     // 3001-4000
  HourBand,       // 4001-5000
  Subtender,      // 5001 and above
  Unreported,     // 1040-1049, 1060-1069: in no report
};

struct ClosureRecordKind {
  ClosureRecord record;
  std::int64_t index;  // the code minus the first code of its range
};

ClosureRecordKind ClassifyClosureRecord(std::int64_t code);

}  // namespace quadrel
