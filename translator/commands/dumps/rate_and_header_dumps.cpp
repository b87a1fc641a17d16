// Files 3 and 4: the VAT rates, and the header lines in one line.
#include "commands/dumps/dump_line.h"
#include "commands/dumps/dump_writers.h"
#include "link/record_reads.h"
#include "link/table_layout.h"
#include "state/ecr_config.h"

namespace quadrel {
namespace {

constexpr int kVatCommand = 33;
constexpr int kHeaderCommand = 34;
constexpr int kRateBytes = 2;
constexpr int kRateDecimals = 2;

// A run of `count` rates from table position `first`, each numbered in `field` from 1.
int DumpRates(LineFile& file, bool numeric, const TableSpan& table, int first, int count, int field) {
  RecordData r;
  for (int i = 0; i < count; ++i) {
    if (int error = 0; !ReadRecordAt(table.Address(first + i + 1), kRateBytes, r, error)) return error;
    DumpLine line(kVatCommand, numeric);
    if (field == 1) line.Integer(1, i + 1);
    line.Fixed(2, r.Bytes(0, kRateBytes), kRateDecimals);
    if (field != 1) line.Integer(field, i + 1);
    if (const int error = line.Write(file)) return error;
  }
  return 0;
}

}  // namespace

// Model M keeps two groups of rates after the plain ones, each behind an unused record.
int DumpVatRates(LineFile& file, bool numeric) {
  const EcrConfigRecord& ecr = CurrentRecord();
  const TableSpan table = VatRates(ecr);
  if (const int error = DumpRates(file, numeric, table, 1, table.count, 1)) return error;
  if (ecr.ModelLetter != 'M') return 0;
  constexpr int kGroupA = 7;
  constexpr int kGroupB = 4;
  if (const int error = DumpRates(file, numeric, table, table.count + 2, kGroupA, 5)) return error;
  return DumpRates(file, numeric, table, table.count + kGroupA + 3, kGroupB, 6);
}

int DumpHeaderLines(LineFile& file, bool numeric) {
  const HeaderLineLayout layout = HeaderLines(CurrentRecord());
  DumpLine line(kHeaderCommand, numeric);
  RecordData r;
  for (int k = 1; k <= layout.count; ++k) {
    if (int error = 0; !ReadRecordAt(layout.base + (k - 1) * layout.lineBytes, layout.textBytes, r, error))
      return error;
    line.Text(k, r.Bytes(0, layout.textBytes));
  }
  return line.Empty() ? 0 : line.Write(file);
}

}  // namespace quadrel
