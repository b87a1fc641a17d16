// The pieces files 99 and 199 share: a keyed separated-value line and the
// sections both reports write (date, departments, counter tables, table 15).
// Each section returns 0 or the code of the read or write that failed.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "files/line_file.h"
#include "commands/dumps/dump_line.h"
#include "link/record_reads.h"

namespace quadrel {

// Lines of one report, counted for the progress against `total`.
class TotalsReport {
 public:
  TotalsReport(LineFile& file, int total) : file_(file), total_(total) {}

  TotalsReport& Key(int key);
  // Register BCD (an amount or a counter) as its digits: a number field.
  TotalsReport& Bcd(RecordBytes bcd);
  // A computed value, left-padded with "0" to the 2n digits of an amount.
  TotalsReport& Computed(std::int64_t value);
  // PC text, quoted.
  TotalsReport& Text(std::string_view text);
  int End();

 private:
  LineFile& file_;
  int total_;
  int count_ = 0;
  std::string line_;
};

// Net and tax of a gross amount at a VAT rate (hundredths of a percent, BCD).
struct GrossSplit {
  std::int64_t gross = 0, net = 0, tax = 0;
  bool split = true;  // false: the amount could not be split (SplitNetVat)
};
GrossSplit SplitGross(RecordBytes gross, RecordBytes rate);
// Key `key`: the gross, its net and its tax. 265 and no line for an amount
// that could not be split: a net and tax of 0 would be wrong figures.
int WriteGrossLine(TotalsReport& report, int key, const GrossSplit& split);

// Key 1: the register's date and time from its identity answer.
int WriteDateLine(TotalsReport& report);
// Keys `firstKey` + i: the two totals `shift` bytes into each department's
// totals area (the later one first) and its description.
int WriteDepartmentLines(TotalsReport& report, int firstKey, int shift);
// Keys `firstKey` + i: `count` records of a counter then an amount from
// `base`, written as amount and counter, with the totals' names when asked.
int WriteCounterLines(TotalsReport& report, int firstKey, int base, int count, bool names);
// Keys 5001 + i: table 15's amount, counter and description.
int WriteTable15Lines(TotalsReport& report);

}  // namespace quadrel
