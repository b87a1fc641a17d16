// File 1: one department line per department record.
#include <string>

#include "commands/dumps/dump_line.h"
#include "commands/dumps/dump_writers.h"
#include "link/record_reads.h"
#include "link/register_checks.h"
#include "link/table_layout.h"
#include "state/ecr_config.h"

namespace quadrel {
namespace {

constexpr int kCommand = 31;
constexpr int kWideGroupField = 3;  // from this group length the group has a byte of its own

// Where the register keeps each part of a department record.
struct DepartmentShape {
  int descriptionBytes;  // d
  int groupBytes;        // g
  int amountBytes;       // m
  bool compactLimit;
  bool model6Extension;
  bool modelM;
  bool sevenOrF;
  bool longModel2;
};

DepartmentShape Shape(const EcrConfigRecord& ecr) {
  return {ecr.Block4Byte38,
          ecr.Block4Byte57,
          ecr.BcdBytesA,
          HasFeature(110),
          ecr.ModelLetter == '6' && HasFeature(105),
          ecr.ModelLetter == 'M',
          ecr.ModelLetter == '7' || ecr.ModelLetter == 'F',
          ecr.ModelLetter == '2' && ecr.Version > 39};
}

// A limit of one byte: digit (high half) times ten to the position (low half) minus one.
void CompactLimit(DumpLine& line, std::uint8_t coded) {
  const int position = coded & 0x0F;
  std::string digits(1, static_cast<char>('0' + (coded >> 4)));
  if (position >= 1) digits.append(static_cast<std::size_t>(position - 1), '0');
  if (digits.size() % 2 != 0) digits.insert(0, 1, '0');
  std::vector<std::uint8_t> bcd;
  for (std::size_t i = 0; i < digits.size(); i += 2)
    bcd.push_back(static_cast<std::uint8_t>((digits[i] - '0') << 4 | (digits[i + 1] - '0')));
  line.Amount(3, bcd);
}

void Model6Line(DumpLine& line, const RecordData& r, const DepartmentShape& s) {
  const int d = s.descriptionBytes;
  const int tail = d + 2 + s.groupBytes;
  line.Number(14, r.Bytes(tail, 2)).Number(15, r.Bytes(tail + 2, 4));
  line.Digit(5, r.Byte(d + 1 + s.groupBytes)).Text(2, r.Bytes(0, d));
}

void PlainLine(DumpLine& line, const RecordData& r, const DepartmentShape& s) {
  const int d = s.descriptionBytes;
  const std::uint8_t flags = r.Byte(d + 1);
  line.Text(2, r.Bytes(0, d));
  if (s.compactLimit) {
    CompactLimit(line, r.Byte(d));
  } else {
    line.Number(3, r.Bytes(d, 1));
  }
  line.YesNo(4, flags & 0x01).Digit(5, r.Byte(d + 1 + s.groupBytes));
  int cursor = d + 2 + s.groupBytes;
  if (s.modelM) {
    line.Digit(12, r.Byte(cursor)).Digit(13, r.Byte(cursor + 1));
    cursor += 2;
  }
  int model2Value = -1;
  if (s.longModel2) model2Value = r.Byte(cursor++) + 1;
  line.Amount(6, r.Bytes(cursor, s.amountBytes));
  cursor += s.amountBytes;
  if (HasFeature(41)) {
    if (s.groupBytes < kWideGroupField) {
      line.Digit(7, static_cast<std::uint8_t>(flags >> 4));
    } else {
      line.Integer(7, static_cast<std::int8_t>(r.Byte(d + 3)));
    }
  }
  if (HasFeature(59)) line.YesNo(8, flags & 0x02);
  if (s.sevenOrF) line.Number(9, r.Bytes(cursor, 4)).Number(10, r.Bytes(cursor + 4, 1));
  if (model2Value >= 0) line.Integer(10, model2Value);
  if (HasFeature(85)) line.Number(11, r.Bytes(d + 2, 1));
  if (HasFeature(81)) line.YesNo(16, flags & 0x04);
  if (HasFeature(111)) line.YesNo(17, flags & 0x08);
  if (HasFeature(113)) line.YesNo(18, flags & 0x10);
}

}  // namespace

int DumpDepartments(LineFile& file, bool numeric) {
  const EcrConfigRecord& ecr = CurrentRecord();
  const TableSpan table = Departments(ecr);
  const DepartmentShape shape = Shape(ecr);
  RecordData record;
  for (int k = 1; k <= table.count; ++k) {
    if (int error = 0; !ReadRecordAt(table.Address(k), table.recordBytes, record, error)) return error;
    DumpLine line(kCommand, numeric);
    line.Integer(1, k);
    if (shape.model6Extension) {
      Model6Line(line, record, shape);
    } else {
      PlainLine(line, record, shape);
    }
    if (const int error = line.Write(file)) return error;
  }
  return 0;
}

}  // namespace quadrel
