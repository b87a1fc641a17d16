#include "commands/dumps/totals_report.h"

#include <algorithm>
#include <cstdlib>

#include "commands/dumps/dump_progress.h"
#include "language/message_tables.h"
#include "language/number_helpers.h"
#include "language/result_codes.h"
#include "link/frame_exchange.h"
#include "link/register_checks.h"
#include "link/register_link.h"
#include "link/table_layout.h"
#include "state/ecr_config.h"
#include "state/library_state.h"
#include "text/code_page.h"
#include "text/out_field.h"
#include "text/text_helpers.h"

namespace quadrel {
namespace {

constexpr int kDateByte = 31;  // day, month, year, hour, minute of the identity answer (BCD)
constexpr int kFixedDescriptionBytes = 16;
constexpr int kFixedDescriptionKept = 15;
constexpr int kFixedDescriptionWidth = 25;

std::string TwoDigits(std::uint8_t bcd) { return BytesToHex(RecordBytes(&bcd, 1)); }

// Register text as PC text; a zero byte is a blank so the line stays whole.
std::string PcText(RecordBytes text) {
  std::string held(reinterpret_cast<const char*>(text.data()), text.size());
  std::replace(held.begin(), held.end(), '\0', ' ');
  return EcrToPcText(held, CurrentRecord());
}

std::string DepartmentDescription(RecordBytes text) {
  std::string description = PcText(text);
  if (!Library().switches.FixDepDescLen || text.size() != kFixedDescriptionBytes) return description;
  std::string fixed;
  return PadRight(fixed, description.substr(0, kFixedDescriptionKept), kFixedDescriptionWidth, ' ');
}

// A leading sign nibble reads as a minus for the arithmetic.
std::string SignedDigits(RecordBytes bcd) {
  std::string digits = BytesToHex(bcd);
  if (!digits.empty() && digits[0] == 'D') digits[0] = '-';
  return digits;
}

}  // namespace

TotalsReport& TotalsReport::Key(int key) {
  EditOutField(line_, std::to_string(key), 0);
  return *this;
}

TotalsReport& TotalsReport::Bcd(RecordBytes bcd) {
  EditOutField(line_, BytesToHex(bcd), 0);
  return *this;
}

// Negative values keep the sign in front of the padded digits.
TotalsReport& TotalsReport::Computed(std::int64_t value) {
  std::string digits;
  if (value < 0) digits = "D";
  const std::uint64_t magnitude = value < 0 ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
  PadLeft(digits, std::to_string(magnitude), 2 * CurrentRecord().AmountBytes, '0');
  EditOutField(line_, digits, 0);
  return *this;
}

TotalsReport& TotalsReport::Text(std::string_view text) {
  EditOutField(line_, text, OUT_FIELD_TEXT);
  return *this;
}

int TotalsReport::End() { return WriteDumpLine(file_, line_, count_, total_); }

GrossSplit SplitGross(RecordBytes gross, RecordBytes rate) {
  GrossSplit split;
  split.split = SplitNetVat(SignedDigits(gross), BytesToHex(rate), split.net, split.tax);
  split.gross = split.net + split.tax;
  return split;
}

int WriteGrossLine(TotalsReport& report, int key, const GrossSplit& split) {
  if (!split.split) return kResultIllegalValue;
  return report.Key(key).Computed(split.gross).Computed(split.net).Computed(split.tax).End();
}

int WriteDateLine(TotalsReport& report) {
  int error = 0;
  if (!SendFrame1('T', error)) return error;
  const FrameBufferData& answer = FrameBuffer();
  auto at = [&](int i) { return kDateByte + i < answer.length ? answer.data[kDateByte + i] : std::uint8_t{0}; };
  const LibraryState& library = Library();
  const std::string stamp = TwoDigits(at(0)) + library.options.DateSeparator + TwoDigits(at(1)) +
                            library.options.DateSeparator + TwoDigits(at(2)) + ' ' + TwoDigits(at(3)) +
                            library.options.TimeSeparator + TwoDigits(at(4));
  return report.Key(1).Text(stamp).End();
}

int WriteDepartmentLines(TotalsReport& report, int firstKey, int shift) {
  const EcrConfigRecord& ecr = CurrentRecord();
  const TableSpan table = Departments(ecr);
  const int n = ecr.AmountBytes;
  const int d = ecr.Block4Byte38;
  const bool later = ecr.ModelLetter == '7' || ecr.ModelLetter == 'F';
  const int totals = d + ecr.Block4Byte57 + ecr.BcdBytesA + 2 + (later ? 5 : 0) + shift;
  RecordData r;
  for (int i = 0; i < table.count; ++i) {
    if (int error = 0; !ReadRecordAt(table.Address(i + 1), totals + 3 * n, r, error)) return error;
    report.Key(firstKey + i).Bcd(r.Bytes(totals + 2 * n, n)).Bcd(r.Bytes(totals, n));
    if (const int error = report.Text(DepartmentDescription(r.Bytes(0, d))).End()) return error;
  }
  return 0;
}

int WriteCounterLines(TotalsReport& report, int firstKey, int base, int count, bool names) {
  const EcrConfigRecord& ecr = CurrentRecord();
  const int c = ecr.Block4Byte36;
  const int n = ecr.AmountBytes;
  RecordData r;
  for (int i = 0; i < count; ++i) {
    if (int error = 0; !ReadRecordAt(base + i * (c + n), c + n, r, error)) return error;
    report.Key(firstKey + i).Bcd(r.Bytes(c, n)).Bcd(r.Bytes(0, c));
    if (names) report.Text(TotgTable().Row(i + 1));
    if (const int error = report.End()) return error;
  }
  return 0;
}

// A failed read ends the report with its code like every other section.
int WriteTable15Lines(TotalsReport& report) {
  if (!HasFeature(57)) return 0;
  const Table15Layout layout = Table15(CurrentRecord());
  const int n = CurrentRecord().AmountBytes;
  const int amountAt = kTable15TextOffset + layout.textBytes;
  RecordData r;
  for (int i = 0; i < layout.basicCount; ++i) {
    if (int error = 0; !ReadRecordAt(layout.base + i * layout.recordBytes, layout.recordBytes, r, error)) return error;
    report.Key(5001 + i).Bcd(r.Bytes(amountAt, n)).Bcd(r.Bytes(amountAt + n, kTable15TailBytes));
    if (const int error = report.Text(PcText(r.Bytes(kTable15TextOffset, layout.textBytes))).End()) return error;
  }
  return 0;
}

}  // namespace quadrel
