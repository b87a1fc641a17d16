// Files 99 and 199 against a scripted register: each key from known bytes,
// net and tax split as the model rounds, and a failed read keeping its lines.
#include <string>

#include "dump_fixture.h"
#include "language/message_tables.h"
#include "state/library_state.h"

namespace quadrel {
namespace {

using namespace dump_test;
using namespace std::string_literals;

class TotalsReports : public DumpTest {};

std::string Held(std::initializer_list<std::pair<int, std::string>> parts, int size) {
  std::string record(static_cast<std::size_t>(size), '\0');
  for (const auto& [at, bytes] : parts) record.replace(static_cast<std::size_t>(at), bytes.size(), bytes);
  return record;
}

// Amounts of 2 bytes; department 1 ("MILK", totals area at 9); one VAT record
// at 22 % with A, C and B at 3, 7 and 15; file 20 with one record.
void Plain(EcrConfigRecord& ecr) {
  ecr.AmountBytes = 2;
  ecr.Block4Byte36 = 1;
  ecr.IdentityByte47 = 1, ecr.FileAddress[0] = 0x2000, ecr.Block4Byte38 = 4, ecr.Block4Byte57 = 1, ecr.BcdBytesA = 2;
  ecr.FileAddress[4] = 0x5000, ecr.FileAddress[5] = 17;
  ecr.FileAddress[8] = 0x1000, ecr.FileAddress[9] = 1, ecr.FileAddress[10] = 0x1100;
}

const Exchange kIdentity{bytes("T"), bytes("T" + std::string(30, '\0') + "\x09\x12\x26\x14\x30")};
const std::string kVat = Held({{0, "\x22"s}, {3, "\x10\x00"s}, {5, "\x03\x00"s}, {7, "\x00\x50"s}, {15, "\x02\x44"s}}, 17);
const std::string kDepartment = Held({{0, "MILK"s}, {9, "\x00\x20"s}, {13, "\x00\x30"s}, {21, "\x00\x01"s}, {25, "\x00\x02"s}}, 27);

TEST_F(TotalsReports, File99EverySectionThenAFailedTable15Read) {
  auto setup = Model('R', {57, 122, 123}, [](EcrConfigRecord& ecr) {
    Plain(ecr);
    TotgTable().SetRow(1, "CASH");
    ecr.AreaAddress[0] = 0x6000;
    ecr.LineParam = 2, ecr.AreaAddress[7] = 0x7000, ecr.AreaAddress[8] = 10;
  });
  Check({"ARCHIVIO=99", setup,
         {kIdentity, Read(0x6000, Held({{6, "\x01\x23"s}, {12, "\x12\x34"s}}, 64)), Read(0x5000, kVat), Read(0x5000, kVat),
          Read(0x5000, kVat), Read(0x5000, kVat), Read(0x2000, kDepartment.substr(0, 15)), Read(0x2000, kDepartment),
          Read(0x1000, {"\x07\x01\x50", 3}), Read(0x7000, Held({{3, "TEA"s}, {6, "\x00\x99"s}, {8, "\x00\x04"s}}, 10)),
          {bytes({'D', 10, 0x70, 10}), bytes("X")}},
         {"1,'09/12/26 14:30'", "2,1234", "3,0123", "1000,1000,0820,0180", "1020,0244,0200,0044",
          "1040,1244,1020,0224", "1060,0050,0041,0009", "2001,0030,0020,'MILK'", "2101,0002,0001,'MILK'",
          "3001,0150,07,'CASH'", "5001,0099,0004,'TEA'"},
         0x10000 | 'X'});
}

// The truncating model, OutEditOptions 2 and a 16-character description under FixDepDescLen.
TEST_F(TotalsReports, File199SecondTotalsTruncatedAndEdited) {
  auto setup = Model('T', {57, 122, 123}, [](EcrConfigRecord& ecr) {
    Plain(ecr);
    ecr.Block4Byte38 = 16;
    Library().options.OutEditOptions = 2;
    Library().switches.FixDepDescLen = true;
  });
  const std::string description = "SEVENTEEN CHARS.";
  Check({"ARCHIVIO=199", setup,
         {kIdentity, Read(0x5000, kVat), Read(0x2000, Held({{0, description}, {27, "\x00\x05"s}}, 33)),
          Read(0x1100, {"\x00\x00\x00", 3})},
         {"1,'09/12/26 14:30'", "1000,300,245,55", "2001,0,5,'SEVENTEEN CHARS" + std::string(10, ' ') + "'", "3001,0,0,''"}});
  EXPECT_EQ(host.progress_calls().back().percent, 4 * 100 / 27);
}

// A gross amount whose split would overflow ends the report with 265 and
// the lines before it, instead of a net and tax of 0.
TEST_F(TotalsReports, AGrossAmountThatCannotBeSplitEndsTheReport) {
  auto setup = Model('R', {}, [](EcrConfigRecord& ecr) {
    Plain(ecr);
    ecr.AmountBytes = 7;
  });
  Check({"ARCHIVIO=99", setup, {kIdentity, Read(0x5000, Held({{0, "\x22"s}, {3, std::string(7, '\x99')}}, 17))},
         {"1,'09/12/26 14:30'"}, 265});
}

// Model M: the register is asked to bring its VAT records up to date, then
// the rates' records and the thirteen after them, keyed in two bands.
TEST_F(TotalsReports, ModelMVatRecords) {
  Row row{"ARCHIVIO=99", Model('M', {}, [](EcrConfigRecord& ecr) {
            Plain(ecr);
            ecr.IdentityByte47 = 0, ecr.FileAddress[9] = 0;
          }),
          {kIdentity, {bytes({'C', 13, 0}), bytes("C")}}, {"1,'09/12/26 14:30'"}};
  for (int i = 0; i <= 13; ++i) {
    row.reads.push_back(Read(0x5000 + 17 * i, Held({{3, "\x00\x01\x00\x02\x00\x03"s}}, 17)));
    row.lines.push_back(std::to_string(i == 0 ? 1000 : i <= 8 ? 1099 + i : 1191 + i) + ",0001,0002,0003");
  }
  Check(row);
}

}  // namespace
}  // namespace quadrel
