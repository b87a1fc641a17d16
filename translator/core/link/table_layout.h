// Where a register keeps the programming tables the handlers read back
// before keying (header lines, the nine-digit line, table 15), taken from
// its EcrConfigRecord; the table dumps read the same places.
#pragma once

#include "state/ecr_config.h"

namespace quadrel {

struct HeaderLineLayout {
  int count;      // header lines
  int lineBytes;  // bytes of one line
  int base;       // address of line 1
  bool hasNineDigitLine;
  int nineDigitAddress;  // the nine-digit line follows the header lines
};

struct Table15Layout {
  int basicCount;     // records in the register's memory
  int extendedCount;  // records behind the 'U' 0 0x20 4 reads
  int base;           // address of record 1
  int recordBytes;
};

constexpr int kNineDigitLineBytes = 9;
constexpr int kTable15Selector = 4;  // 'U' 0 0x20 selector of table 15's extension
constexpr int kTable21Selector = 2;  // 'U' 0 0x20 selector of table 21

HeaderLineLayout HeaderLines(const EcrConfigRecord& ecr);
Table15Layout Table15(const EcrConfigRecord& ecr);
// Records of table 21 (0 when the register has none).
int Table21Count(const EcrConfigRecord& ecr);

}  // namespace quadrel
