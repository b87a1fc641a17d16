#include "mail/closure/closure_text.h"

#include <algorithm>

namespace quadrel {

ClosureFields SplitClosureLine(std::string_view line) {
  ClosureFields fields;
  int current = 0;
  const auto append = [&](char c) {
    if (current < kClosureMaxFields && fields.field[current].size() < kClosureMaxFieldLength) {
      fields.field[current].push_back(c);
    }
  };
  enum class State { Plain, Quoted, AfterQuote } state = State::Plain;
  for (std::size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    if (state == State::Quoted) {
      if (c != '\'') {
        append(c);
      } else if (i + 1 < line.size() && line[i + 1] == '\'') {
        append(c);
        ++i;
      } else {
        state = State::AfterQuote;
      }
    } else if (c == ',') {
      ++current;
      state = State::Plain;
    } else if (state == State::Plain) {
      if (c == '\'') {
        state = State::Quoted;
      } else {
        append(c);
      }
    }
  }
  fields.count = std::min(current + 1, kClosureMaxFields);
  return fields;
}

bool TakeCrLfLine(std::string_view& text, std::string_view& line) {
  if (text.empty()) return false;
  const std::size_t end = text.find("\r\n");
  line = text.substr(0, end);
  text.remove_prefix(end == std::string_view::npos ? text.size() : end + 2);
  return true;
}

std::int64_t LeadingNumber(std::string_view text) {
  constexpr std::int64_t kCap = 999'999'999'999;
  std::int64_t value = 0;
  text.remove_prefix(std::min(text.find_first_not_of(' '), text.size()));
  for (const char c : text) {
    if (c < '0' || c > '9') break;
    value = std::min(kCap, value * 10 + (c - '0'));
  }
  return value;
}

ClosureRecordKind ClassifyClosureRecord(std::int64_t code) {
  struct Range {
    std::int64_t first, last;
    ClosureRecord record;
  };
  static constexpr Range kRanges[] = {
      {1, 1, ClosureRecord::Date},
      {2, 2, ClosureRecord::DayTotal},
      {3, 3, ClosureRecord::Receipts},
      {1000, 1019, ClosureRecord::ReceiptVat},
      {1020, 1039, ClosureRecord::ReceiptReason},
      {1040, 1049, ClosureRecord::Unreported},
      {1050, 1059, ClosureRecord::InvoiceVat},
      {1060, 1069, ClosureRecord::Unreported},
      {1070, 2000, ClosureRecord::InvoiceReason},
      {2001, 3000, ClosureRecord::Department},
      {3001, 4000, ClosureRecord::DailyTotal},
      {4001, 5000, ClosureRecord::HourBand},
      {5001, INT64_MAX, ClosureRecord::Subtender},
  };
  for (const Range& range : kRanges) {
    if (code >= range.first && code <= range.last) return {range.record, code - range.first};
  }
  return {ClosureRecord::Other, 0};
}

}  // namespace quadrel
