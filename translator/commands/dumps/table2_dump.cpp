// File 2: one line per record of table 2.
#include <algorithm>

#include "commands/dumps/dump_line.h"
#include "commands/dumps/dump_writers.h"
#include "link/record_reads.h"
#include "link/register_checks.h"
#include "link/table_layout.h"
#include "state/ecr_config.h"
#include "text/code_page.h"

namespace quadrel {
namespace {

constexpr int kCommand = 32;
constexpr int kPriceOffset = 3;
constexpr int kCodeBytes = 7;

}  // namespace

int DumpTable2(LineFile& file, bool numeric) {
  const EcrConfigRecord& ecr = CurrentRecord();
  const TableSpan table = Table2(ecr);
  const bool byNumber = ecr.ModelFlag != 0;
  const bool sevenOrF = ecr.ModelLetter == '7' || ecr.ModelLetter == 'F';
  const bool withCode = HasFeature(90);
  const int priceBytes = ecr.BcdBytesA;
  const int extraOffset = kPriceOffset + priceBytes;
  const int codeOffset = extraOffset + (sevenOrF ? 5 : 0);
  const int textOffset = codeOffset + (withCode ? kCodeBytes : 0);
  // By number the register sends what is asked for: the record up to its text.
  const int needed = std::min(table.recordBytes, textOffset + ecr.Block4Byte39);
  RecordData r;
  for (int k = 1; k <= table.count; ++k) {
    int error = 0;
    const bool read = byNumber ? ReadRecordNumber(k, needed, r, error)
                               : ReadRecordAt(table.Address(k), table.recordBytes, r, error);
    if (!read) return error;
    DumpLine line(kCommand, numeric);
    line.Integer(1, k).Text(2, r.Bytes(textOffset, ecr.Block4Byte39)).Number(3, r.Bytes(2, 1));
    line.Amount(4, r.Bytes(kPriceOffset, priceBytes));
    if (HasFeature(31)) line.YesNo(5, r.Byte(0) & 0x04);
    if (sevenOrF) line.Number(7, r.Bytes(extraOffset, 4)).Number(8, r.Bytes(extraOffset + 4, 1));
    if (withCode) line.Value(9, BytesToHex(r.Bytes(codeOffset, kCodeBytes)));
    if (const int error = line.Write(file)) return error;
  }
  return 0;
}

}  // namespace quadrel
