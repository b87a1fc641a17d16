// Command 3 on the totals files and file 30 against a scripted register:
// each file from known bytes, line by line, with its progress.
#include <string>
#include <vector>

#include "dump_fixture.h"

namespace quadrel {
namespace {

using namespace dump_test;

class TotalsDumps : public DumpTest {};

TEST_F(TotalsDumps, EachTotalsFile) {
  auto file20 = [](EcrConfigRecord& ecr) {
    ecr.AmountBytes = 2;
    ecr.FileAddress[8] = 0x1000;
    ecr.FileAddress[9] = 32;
  };
  auto departments = [](EcrConfigRecord& ecr) {
    ecr.AmountBytes = 2;
    ecr.IdentityByte47 = 1;
    ecr.FileAddress[0] = 0x2000;
    ecr.Block4Byte38 = 4;
    ecr.Block4Byte57 = 1;
    ecr.BcdBytesA = 2;
  };
  auto table2 = [](EcrConfigRecord& ecr) {
    ecr.AmountBytes = 2;
    ecr.IdentityWord49 = 1;
    ecr.FileAddress[2] = 0x3000;
    ecr.FileAddress[3] = 26;
    ecr.BcdBytesA = 2;
  };
  auto file24 = [](EcrConfigRecord& ecr) {
    ecr.AmountBytes = 2;
    ecr.Block4Byte36 = 1;
    ecr.Block4Width42 = 2;
    ecr.FileAddress[6] = 0x4000;
    ecr.FileAddress[7] = 3;
  };
  Row f20{"ARCHIVIO=20, NUMERICO", Model('T', {}, file20), {}, {}};
  for (int k = 1; k <= 32; ++k) f20.reads.push_back(Read(0x1000 + 4 * (k - 1), {"\x00\x07\x01\x50", 4}));
  for (int k = 1; k <= 32; ++k)
    f20.lines.push_back("TOTALI NUMERO=" + std::to_string(k) + ", CONTATORE=7, IMPORTO=" + (k == 32 ? "150" : "1.50"));
  Check(f20);
  const std::vector<Row> rows = {
      // Totals after the description (4), the group (1), the price (2) and two bytes: at 9.
      {"ARCHIVIO=22", Model('T', {}, departments), {Read(0x2009, {"\x12\x50\x10\x00\x00\x05", 6})},
       {"TOTREPARTO REPARTO=1, QUANTITA=1.250, IMPORTO1=10.00, IMPORTO2=0.05"}},
      // Model 7: after the price (from 3) the code (7), the second quantity (4), four bytes: at 20.
      {"ARCHIVIO=23", Model('7', {88, 90}, table2),
       {Read(0x3000, std::string(12, '\0') + std::string("\x00\x00\x20\x00", 4) + std::string(4, '\0') +
                         std::string("\x00\x00\x30\x00\x99\x99", 6))},
       {"TOTTAB002 NUMERO=1, QUANTITA1=3.000, IMPORTO=99.99, QUANTITA2=2.000"}},
      {"ARCHIVIO=24", Model('T', {}, file24), {Read(0x4000, {"\x04\x00\x10", 3}), Read(0x4003, {"\x05\x00\x20", 3})},
       {"TOTBLOCCO BLOCCO=1, VOCE=1, CONTATORE=4, IMPORTO=0.10",
        "TOTBLOCCO BLOCCO=2, VOCE=1, CONTATORE=5, IMPORTO=0.20"}},
  };
  for (const Row& row : rows) Check(row);
  EXPECT_EQ(host.progress_calls().back().percent, 100);
}

TEST_F(TotalsDumps, File30AsSeparatedValues) {
  auto records = [](int count) { return [=](EcrConfigRecord& ecr) { ecr.Block3Word73 = count; }; };
  auto record = [](int k, std::string answer) {
    return Exchange{bytes({'C', 14, k, 0}), bytes(std::string("C") + answer)};
  };
  Check({"ARCHIVIO=30", Model('T', {}, records(2)),
         {record(1, std::string("\0\x01\x02\x03\x04\xAB", 6)), record(2, std::string("\0\0\0\0\0\x10", 6))},
         {"1,01020304AB", "2,0000000010"}});
  EXPECT_EQ(host.progress_calls().size(), 2u);
  EXPECT_EQ(host.progress_calls().back().percent, 100);
  // A refused record ends the file with 271, the lines before it kept.
  Check({"ARCHIVIO=30", Model('T', {}, records(2)), {record(1, std::string("\0\x01\x02\x03\x04\xAB", 6)), record(2, "\x05")},
         {"1,01020304AB"}, 271});
  // Without records the file is refused before it is opened.
  std::filesystem::remove(path_);
  Check({"ARCHIVIO=30", Model('T', {}, records(0)), {}, {}, 271});
}

TEST_F(TotalsDumps, File31SkipsEmptyRecordsUpTo200) {
  Row row{"ARCHIVIO=31, NUMERICO", Model('6', {105}, [](EcrConfigRecord& ecr) { ecr.Block4Byte38 = 3; }), {}, {}};
  for (int k = 1; k <= 200; ++k) {
    const bool held = k == 2 || k == 200;
    row.reads.push_back({bytes({'C', 17, k}), held ? bytes(std::string("C\x01\x00\x00\x12\x34\xFFTEA", 10))
                                                   : bytes(std::string("C\0", 2))});
  }
  row.lines = {"#59 #1=2, #2=1234, #3=??, #4='TEA'", "#59 #1=200, #2=1234, #3=??, #4='TEA'"};
  Check(row);
  Check({"ARCHIVIO=31", Model('6', {}), {}, row.lines, 271});  // refused: the earlier dump stays
}

}  // namespace
}  // namespace quadrel
