// Files 9, 11 and 31: table 15 (its memory records, then its extension
// behind the information frame), table 21 (all behind the information
// frame) and model 6's table 31 (asked record by record).
#include <algorithm>

#include "commands/dumps/dump_line.h"
#include "commands/dumps/dump_writers.h"
#include "language/result_codes.h"
#include "link/frame_exchange.h"
#include "link/record_reads.h"
#include "link/register_link.h"
#include "link/register_checks.h"
#include "link/table_layout.h"
#include "state/ecr_config.h"

namespace quadrel {
namespace {

constexpr int kTable15Command = 39;
constexpr int kTable21Command = 40;
constexpr int kTable21NoteBytes = 16;
constexpr int kRateBytes = 2;
constexpr int kRateDecimals = 2;
constexpr int kTable31Command = 59;
constexpr int kTable31Records = 200;
constexpr std::uint8_t kTable31Request = 17;

int WriteTable15Record(LineFile& file, bool numeric, const Table15Layout& layout, int number, const RecordData& r) {
  const int amountAt = kTable15TextOffset + layout.textBytes;
  const int amountBytes = CurrentRecord().AmountBytes;
  DumpLine line(kTable15Command, numeric);
  line.Integer(1, number).Number(2, r.Bytes(0, 1)).Text(3, r.Bytes(kTable15TextOffset, layout.textBytes));
  line.Integer(4, r.Byte(2)).Amount(5, r.Bytes(amountAt, amountBytes)).Integer(6, r.Byte(1));
  if (HasFeature(78) || CurrentRecord().ExtInfoB != 0) line.Number(11, r.Bytes(amountAt + amountBytes, 2));
  return line.Write(file);
}

}  // namespace

bool HasTable15() {
  return HasFeature(57);
}

bool HasTable21() {
  return CurrentRecord().ExtInfoB != 0;
}

bool HasFile31() {
  return CurrentRecord().ModelLetter == '6' && HasFeature(105);
}

int DumpTable15(LineFile& file, bool numeric) {
  const Table15Layout layout = Table15(CurrentRecord());
  RecordData r;
  for (int k = 1; k <= layout.basicCount; ++k) {
    if (int error = 0; !ReadRecordAt(layout.base + (k - 1) * layout.recordBytes, layout.recordBytes, r, error))
      return error;
    if (const int error = WriteTable15Record(file, numeric, layout, k, r)) return error;
  }
  for (int k = 1; k <= layout.extendedCount; ++k) {
    if (int error = 0; !ReadInfoRecord(kTable15Selector, k, r, error)) return error;
    if (const int error = WriteTable15Record(file, numeric, layout, layout.basicCount + k, r)) return error;
  }
  return 0;
}

int DumpTable21(LineFile& file, bool numeric) {
  const EcrConfigRecord& ecr = CurrentRecord();
  const int textBytes = Table21TextBytes(ecr);
  RecordData r;
  for (int k = 1; k <= Table21Count(ecr); ++k) {
    if (int error = 0; !ReadInfoRecord(kTable21Selector, k, r, error)) return error;
    DumpLine line(kTable21Command, numeric);
    line.Integer(1, k).Number(2, r.Bytes(0, 1)).Integer(3, r.Byte(1));
    int cursor = 2;
    for (int text = 4; text <= 6; ++text, cursor += textBytes) line.Text(text, r.Bytes(cursor, textBytes));
    line.Text(7, r.Bytes(cursor, kTable21NoteBytes));
    cursor += kTable21NoteBytes;
    line.Fixed(8, r.Bytes(cursor, kRateBytes), kRateDecimals).Integer(9, r.Byte(cursor + kRateBytes));
    line.Fixed(10, r.Bytes(cursor + kRateBytes + 1, kRateBytes), kRateDecimals);
    if (const int error = line.Write(file)) return error;
  }
  return 0;
}

// Every record number is asked; the register marks the ones it holds in answer byte 1.
int DumpFile31(LineFile& file, bool numeric) {
  const EcrConfigRecord& ecr = CurrentRecord();
  for (int k = 1; k <= kTable31Records; ++k) {
    if (int error = 0; !SendFrame3('C', kTable31Request, static_cast<std::uint8_t>(k), error)) return error;
    const FrameBufferData& answer = FrameBuffer();
    if (answer.length < 2 || answer.data[1] == 0) continue;
    const int end = std::max(answer.length, 2);
    auto bytes = [&](int from, int count) {
      const int first = std::min(from, end);
      return RecordBytes(answer.data.data() + first, static_cast<std::size_t>(std::min(count, end - first)));
    };
    DumpLine line(kTable31Command, numeric);
    line.Integer(1, k).Number(2, bytes(2, 4));
    if (answer.length > 6) line.Digit(3, answer.data[6]);
    line.Text(4, bytes(7, ecr.Block4Byte38));
    if (const int error = line.Write(file)) return error;
  }
  return 0;
}

}  // namespace quadrel
