// Files 20, 22, 23 and 24: the register's running totals as command lines.
// These always carry the definitions' names.
#include <algorithm>

#include "commands/dumps/dump_line.h"
#include "commands/dumps/dump_progress.h"
#include "commands/dumps/dump_writers.h"
#include "language/number_helpers.h"
#include "link/record_reads.h"
#include "link/register_checks.h"
#include "link/table_layout.h"
#include "state/ecr_config.h"

namespace quadrel {
namespace {

constexpr bool kNames = false;
constexpr int kPlainEntry = 32;  // record or entry 32 holds a count, not an amount
constexpr int kQuantityBytes = 4;
constexpr int kFile20Base = 8;
constexpr int kFile24Base = 6;

// An amount, or a plain number in the record that holds a count.
void TotalField(DumpLine& line, int field, int number, RecordBytes bcd) {
  if (number == kPlainEntry) {
    line.Number(field, bcd);
  } else {
    line.Amount(field, bcd);
  }
}

bool SevenOrF(const EcrConfigRecord& ecr) { return ecr.ModelLetter == '7' || ecr.ModelLetter == 'F'; }

// Where the totals of a department record start.
int DepartmentTotalsOffset(const EcrConfigRecord& ecr) {
  const int d = ecr.Block4Byte38;
  if (ecr.ModelLetter == 'M') return d + ecr.BcdBytesA + 5;
  const bool longModel2 = ecr.ModelLetter == '2' && ecr.Version > 39;
  return d + ecr.Block4Byte57 + ecr.BcdBytesA + (longModel2 ? 3 : 2) + (SevenOrF(ecr) ? 5 : 0);
}

}  // namespace

int DumpFile20(LineFile& file, bool) {
  const EcrConfigRecord& ecr = CurrentRecord();
  const int n = ecr.AmountBytes;
  const TableSpan table{ecr.FileAddress[kFile20Base + 1], ecr.FileAddress[kFile20Base], n + 2};
  RecordData r;
  for (int k = 1; k <= table.count; ++k) {
    if (int error = 0; !ReadRecordAt(table.Address(k), table.recordBytes, r, error)) return error;
    DumpLine line(61, kNames);
    line.Integer(1, k).Number(2, r.Bytes(0, 2));
    TotalField(line, 3, k, r.Bytes(2, n));
    if (const int error = line.Write(file)) return error;
  }
  return 0;
}

int DumpFile22(LineFile& file, bool) {
  const EcrConfigRecord& ecr = CurrentRecord();
  const TableSpan table = Departments(ecr);
  const int n = ecr.AmountBytes;
  const int offset = DepartmentTotalsOffset(ecr);
  RecordData r;
  for (int k = 1; k <= table.count; ++k) {
    if (int error = 0; !ReadRecordAt(table.Address(k) + offset, 3 * n, r, error)) return error;
    DumpLine line(63, kNames);
    line.Integer(1, k).Fixed(2, r.Bytes(0, n), kQuantityDecimals).Amount(3, r.Bytes(n, n)).Amount(4, r.Bytes(2 * n, n));
    if (const int error = line.Write(file)) return error;
  }
  return 0;
}

// After the price: the code, the second quantity, models 7 and F's four bytes, then the totals.
int DumpFile23(LineFile& file, bool) {
  const EcrConfigRecord& ecr = CurrentRecord();
  const TableSpan table = Table2(ecr);
  const bool secondQuantity = HasFeature(88);
  const int secondAt = 3 + ecr.BcdBytesA + (HasFeature(90) ? 7 : 0);
  const int quantityAt = secondAt + (secondQuantity ? kQuantityBytes : 0) + (SevenOrF(ecr) ? 4 : 0);
  const int needed = std::min(table.recordBytes, quantityAt + kQuantityBytes + ecr.AmountBytes);
  RecordData r;
  for (int k = 1; k <= table.count; ++k) {
    int error = 0;
    const bool read = ecr.ModelFlag != 0 ? ReadRecordNumber(k, needed, r, error)
                                         : ReadRecordAt(table.Address(k), table.recordBytes, r, error);
    if (!read) return error;
    DumpLine line(64, kNames);
    line.Integer(1, k).Fixed(2, r.Bytes(quantityAt, kQuantityBytes), kQuantityDecimals);
    line.Amount(3, r.Bytes(quantityAt + kQuantityBytes, ecr.AmountBytes));
    if (secondQuantity) line.Fixed(4, r.Bytes(secondAt, kQuantityBytes), kQuantityDecimals);
    if (const int error = line.Write(file)) return error;
  }
  return 0;
}

// Blocks of entries, each a counter and an amount; progress after each block.
int DumpFile24(LineFile& file, bool) {
  const EcrConfigRecord& ecr = CurrentRecord();
  const int c = ecr.Block4Byte36;
  const int n = ecr.AmountBytes;
  const int blocks = ecr.Block4Width42;
  const int blockBytes = ecr.FileAddress[kFile24Base + 1];
  const int entries = c + n > 0 ? blockBytes / (c + n) : 0;
  const bool byRecord = HasFeature(118);
  RecordData r;
  for (int block = 1; block <= blocks; ++block) {
    for (int entry = 1; entry <= entries; ++entry) {
      const int address = ecr.FileAddress[kFile24Base] + (block - 1) * blockBytes + (entry - 1) * (c + n);
      int error = 0;
      const bool read =
          byRecord ? ReadBlockEntry(block, entry, c + n, r, error) : ReadRecordAt(address, c + n, r, error);
      if (!read) return error;
      DumpLine line(65, kNames);
      line.Integer(1, block).Integer(2, entry).Number(3, r.Bytes(0, c));
      TotalField(line, 4, entry, r.Bytes(c, n));
      if (const int error = line.Write(file)) return error;
    }
    ReportDumpProgress(block, blocks);
  }
  return 0;
}

}  // namespace quadrel
