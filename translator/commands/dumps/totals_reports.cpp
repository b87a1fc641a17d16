// Files 99 and 199: the register's running totals by VAT rate, department
// and the other totals tables, as keyed separated values. The closure mail
// finds file 99's lines by their keys.
#include "commands/dumps/dump_writers.h"
#include "commands/dumps/totals_report.h"
#include "link/register_checks.h"
#include "link/register_link.h"
#include "link/table_layout.h"
#include "state/ecr_config.h"

namespace quadrel {
namespace {

constexpr int kGeneralBlockBytes = 64;
constexpr int kHourBands = 24;
constexpr int kModelMExtraRecords = 13;
constexpr int kModelMFirstBand = 8;  // records after the rates keyed from 1099, then from 1191
constexpr std::uint8_t kVatTotalsRequest = 13;

// Which optional totals the register keeps (function levels).
bool KeepsSecondTotals() { return HasFeature(122); }
bool KeepsExtraVat() { return HasFeature(123); }
bool DoublesTotals() { return HasFeature(125); }
bool HasTable15Option() { return HasFeature(85); }
bool HasDepartmentOption16() { return HasFeature(81); }

int File20Count(const EcrConfigRecord& ecr) { return ecr.FileAddress[9]; }

int ExpectedLines(const EcrConfigRecord& ecr, int extra) {
  return ecr.Block4Byte43 + File20Count(ecr) + ecr.IdentityByte47 + extra;
}

// Keys 2 and 3 from the general-totals block.
int WriteGeneralTotals(TotalsReport& report) {
  const EcrConfigRecord& ecr = CurrentRecord();
  if (!HasGeneralTotalsBlock(ecr)) return 0;
  RecordData r;
  if (int error = 0; !ReadRecordAt(ecr.AreaAddress[0], kGeneralBlockBytes, r, error)) return error;
  int at = 12;
  if (IsModelIn(ecr.ModelLetter, "6ADH")) at = HasTable15Option() ? 46 : 44;
  if (const int error = report.Key(2).Bcd(r.Bytes(at, ecr.AmountBytes)).End()) return error;
  return report.Key(3).Bcd(r.Bytes(6, 2)).End();
}

// Model M: the register first brings its VAT records up to date.
int WriteModelMVat(TotalsReport& report) {
  const EcrConfigRecord& ecr = CurrentRecord();
  const TableSpan table = VatRates(ecr);
  const int n = ecr.AmountBytes;
  if (int error = 0; !SendFrame3('C', kVatTotalsRequest, 0, error)) return error;
  RecordData r;
  for (int i = 0; i <= table.count + kModelMExtraRecords; ++i) {
    if (int error = 0; !ReadRecordAt(table.Address(i + 1), table.recordBytes, r, error)) return error;
    const int past = i - table.count;
    const int key = past <= 0 ? 1000 + i : (past <= kModelMFirstBand ? 1099 : 1191) + past;
    if (const int error = report.Key(key).Bcd(r.Bytes(3, n)).Bcd(r.Bytes(3 + n, n)).Bcd(r.Bytes(3 + 2 * n, n)).End())
      return error;
  }
  return 0;
}

enum VatKind { kGrossA, kGrossB, kBothGross, kExtraC };

// Where the register keeps a VAT record's gross amounts.
struct VatPlaces {
  int a, b, c;
};
VatPlaces VatLayout(int n) {
  const int c = 3 + (DoublesTotals() ? 4 * n : 2 * n);
  return {3, KeepsExtraVat() ? c + 4 * n : c, c};
}

int WriteVatPass(TotalsReport& report, VatKind kind) {
  const EcrConfigRecord& ecr = CurrentRecord();
  const TableSpan table = VatRates(ecr);
  const int n = ecr.AmountBytes;
  const VatPlaces at = VatLayout(n);
  RecordData r;
  for (int i = 0; i <= table.count; ++i) {
    if (int error = 0; !ReadRecordAt(table.Address(i + 1), table.recordBytes, r, error)) return error;
    const RecordBytes rate = r.Bytes(0, 2);
    const GrossSplit a = SplitGross(r.Bytes(at.a, n), rate);
    const GrossSplit b = KeepsSecondTotals() ? SplitGross(r.Bytes(at.b, n), rate) : GrossSplit{};
    GrossSplit line = a;
    if (kind == kGrossB) line = b;
    if (kind == kBothGross) line = {a.gross + b.gross, a.net + b.net, a.tax + b.tax, a.split && b.split};
    if (kind == kExtraC) line = SplitGross(r.Bytes(at.c, n), rate);
    if (const int error = WriteGrossLine(report, 1000 + 20 * kind + i, line)) return error;
  }
  return 0;
}

int WriteVatLines(TotalsReport& report) {
  if (CurrentRecord().ModelLetter == 'M') return WriteModelMVat(report);
  for (VatKind kind : {kGrossA, kGrossB, kBothGross, kExtraC}) {
    const bool kept = kind == kGrossA || (kind == kGrossB ? KeepsSecondTotals() : KeepsExtraVat());
    if (!kept) continue;
    if (const int error = WriteVatPass(report, kind)) return error;
  }
  return 0;
}

// The 24-entry table and table 15 close both reports.
int WriteLastTables(TotalsReport& report) {
  const EcrConfigRecord& ecr = CurrentRecord();
  if (ecr.Block3Word61 != 0) {
    if (const int error = WriteCounterLines(report, 4001, ecr.Block3Word61, kHourBands, false)) return error;
  }
  return WriteTable15Lines(report);
}

}  // namespace

int DumpTotalsReport(LineFile& file, bool) {
  const EcrConfigRecord& ecr = CurrentRecord();
  const int n = ecr.AmountBytes;
  TotalsReport report(file, ExpectedLines(ecr, 27));
  if (const int error = WriteDateLine(report)) return error;
  if (const int error = WriteGeneralTotals(report)) return error;
  if (const int error = WriteVatLines(report)) return error;
  if (const int error = WriteDepartmentLines(report, 2001, 0)) return error;
  if (KeepsSecondTotals()) {
    if (const int error = WriteDepartmentLines(report, 2101, (HasDepartmentOption16() ? 9 : 6) * n)) return error;
  }
  if (const int error = WriteCounterLines(report, 3001, ecr.FileAddress[8], File20Count(ecr), true)) return error;
  return WriteLastTables(report);
}

// The second set of totals: the amount after A in each VAT record, the
// department totals 3n further on and the second file-20 area.
int DumpTotalsReport2(LineFile& file, bool) {
  const EcrConfigRecord& ecr = CurrentRecord();
  const int n = ecr.AmountBytes;
  TotalsReport report(file, ExpectedLines(ecr, 25));
  if (const int error = WriteDateLine(report)) return error;
  if (ecr.ModelLetter != 'M') {
    const TableSpan table = VatRates(ecr);
    RecordData r;
    for (int i = 0; i <= table.count; ++i) {
      if (int error = 0; !ReadRecordAt(table.Address(i + 1), table.recordBytes, r, error)) return error;
      if (const int error = WriteGrossLine(report, 1000 + i, SplitGross(r.Bytes(3 + n, n), r.Bytes(0, 2)))) return error;
    }
  }
  if (const int error = WriteDepartmentLines(report, 2001, 3 * n)) return error;
  if (const int error = WriteCounterLines(report, 3001, ecr.FileAddress[10], File20Count(ecr), true)) return error;
  return WriteLastTables(report);
}

}  // namespace quadrel
