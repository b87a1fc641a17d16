// Where a register keeps its programming tables and how long their fields
// are, taken from its EcrConfigRecord: the programming handlers read records
// back from these places before keying, and the table dumps read them whole.
#pragma once

#include "state/ecr_config.h"

namespace quadrel {

// A table kept record by record in the 16-bit memory: record k (from 1) at
// base + (k - 1) * recordBytes.
struct TableSpan {
  int count;
  int base;
  int recordBytes;
  int Address(int record) const { return base + (record - 1) * recordBytes; }
};

struct HeaderLineLayout {
  int count;      // header lines
  int lineBytes;  // bytes from one line to the next
  int textBytes;  // characters of a line the host shows
  int base;       // address of line 1
  bool hasNineDigitLine;
  int nineDigitAddress;  // the nine-digit line follows the header lines
};

struct Table15Layout {
  int basicCount;     // records in the register's memory
  int extendedCount;  // records behind the 'U' 0 0x20 4 reads
  int base;           // address of record 1
  int recordBytes;
  int textBytes;      // the description between the three leading bytes and the amount
};

constexpr int kNineDigitLineBytes = 9;
constexpr int kTable15Selector = 4;  // 'U' 0 0x20 selector of table 15's extension
constexpr int kTable21Selector = 2;  // 'U' 0 0x20 selector of table 21
constexpr int kTable15TextOffset = 3;
constexpr int kTable15TailBytes = 2;  // the number after the amount

TableSpan Departments(const EcrConfigRecord& ecr);
TableSpan Table2(const EcrConfigRecord& ecr);
// Rate k at Address(k + 1): the table starts one record before rate 1.
TableSpan VatRates(const EcrConfigRecord& ecr);
HeaderLineLayout HeaderLines(const EcrConfigRecord& ecr);
Table15Layout Table15(const EcrConfigRecord& ecr);
// Records of table 21 (0 when the register has none) and the length of its three texts.
int Table21Count(const EcrConfigRecord& ecr);
int Table21TextBytes(const EcrConfigRecord& ecr);

}  // namespace quadrel
