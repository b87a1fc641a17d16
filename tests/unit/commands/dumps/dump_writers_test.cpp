// Command 3 on the programming tables against a scripted register: each file
// from known record bytes, line by line, the reads it makes in order, and
// the checks that come before the output file is touched.
#include <string>
#include <vector>

#include "dump_fixture.h"

namespace quadrel {
namespace {

using namespace dump_test;

// Departments of 4 description bytes and 2 group bytes at 0x1000, 12 bytes each.
void Departments(EcrConfigRecord& ecr) {
  ecr.IdentityByte47 = 1;
  ecr.FileAddress[0] = 0x1000;
  ecr.FileAddress[1] = 12;
  ecr.Block4Byte38 = 4;
  ecr.Block4Byte57 = 2;
  ecr.BcdBytesA = 2;
}

class DumpWriters : public DumpTest {};

TEST_F(DumpWriters, DepartmentsOnEachModelBranch) {
  // "PANE", limit 4, flags (yes, yes, group 2 in the high half), field 11, digit unset, price 1.50.
  const std::string plain("PANE\x04\x23\x07\xFF\x01\x50\0\0", 12);
  const std::string modelM("PANE\x25\x00\x00\x03\x01\x02\x00\x99", 12);
  const std::string model6("PANE\x00\x00\x00\x05\x12\x34\x00\x00", 12);
  const std::vector<Row> rows = {
      {"ARCHIVIO=1",
       Model('T', {41, 59, 85}, Departments),
       {Read(0x1000, plain)},
       {"REPARTO NUMERO=1, DESCRIZ='PANE', LIMITE=4, OPZ1=SI, CIFRA5=??, PREZZO=1.50, GRUPPO=2, OPZ2=SI, "
        "VALORE11=7"}},
      {"ARCHIVIO=1, NUMERICO",
       Model('T', {41, 59, 85}, Departments),
       {Read(0x1000, plain)},
       {"#31 #1=1, #2='PANE', #3=4, #4=2, #5=??, #6=1.50, #7=2, #8=2, #11=7"}},
      // Compact limit 2 x 10^4 in cents; the two model-M digits; models 7/F add fields 9 and 10.
      {"ARCHIVIO=1",
       Model('M', {110}, Departments),
       {Read(0x1000, modelM)},
       {"REPARTO NUMERO=1, DESCRIZ='PANE', LIMITE=200.00, OPZ1=NO, CIFRA5=3, CIFRA12=1, CIFRA13=2, "
        "PREZZO=0.99"}},
      {"ARCHIVIO=1",
       Model('6', {105}, Departments),
       {Read(0x1000, model6)},
       {"REPARTO NUMERO=1, VALORE14=1234, VALORE15=0, CIFRA5=5, DESCRIZ='PANE'"}},
  };
  for (const Row& row : rows) Check(row);
}

TEST_F(DumpWriters, EachProgrammingTable) {
  auto table2 = [](EcrConfigRecord& ecr) {
    ecr.IdentityWord49 = 1;
    ecr.FileAddress[2] = 0x2000;
    ecr.FileAddress[3] = 22;
    ecr.Block4Byte39 = 3;
    ecr.BcdBytesA = 2;
  };
  auto rates = [](EcrConfigRecord& ecr) {
    ecr.Block4Byte43 = 2;
    ecr.FileAddress[4] = 0x3000;
    ecr.FileAddress[5] = 4;
  };
  auto header = [](EcrConfigRecord& ecr) {
    ecr.RecordCount = 2;
    ecr.RecordTableAddress = 0x4000;
    ecr.PrintWidth = 6;
    ecr.OutputWidth = 5;
  };
  auto options = [](EcrConfigRecord& ecr) {
    std::fill(std::begin(ecr.Block5Data), std::end(ecr.Block5Data), 0xFF);
    ecr.Block5Data[1] = 0;   // option 1: three characters at 0
    ecr.Block5Data[9] = 3;   // option 9: yes
    ecr.Block5Data[17] = 4;  // option 17: four hex digits
    ecr.Block2Data[3] = 0x01;
    ecr.Block2Data[4] = 0xAB;
    ecr.Block2Data[5] = 0x0C;
    std::copy_n("EUR", 3, ecr.Block2Data);
  };
  auto table15 = [](EcrConfigRecord& ecr) {
    ecr.LineParam = 1;
    ecr.ExtInfoB = 1;
    ecr.Ext31W48 = 1;
    ecr.AreaAddress[7] = 0x5000;
    ecr.AreaAddress[8] = 12;
    ecr.AmountBytes = 2;
  };
  auto table21 = [](EcrConfigRecord& ecr) {
    ecr.ExtInfoB = 1;
    ecr.Ext31W43 = 1;
    ecr.Ext31W78 = 2;
  };
  const std::string t15a("\x03\x06\x04TEXTO\x12\x34\x00\x09", 12);
  const std::string t15b("\x00\x00\x00     \x00\x00\x00\x00", 12);
  const std::string t21 = std::string(
                              "\x07\x09"
                              "ABCDEF",
                              8) +
                          std::string(16, 'N') + std::string("\x22\x00\x03\x10\x50", 5);
  const std::vector<Row> rows = {
      // Flags, -, number, price 2 bytes, 4+1 numbers (model 7), 7-byte code, 3-character text.
      {"ARCHIVIO=2",
       Model('7', {31, 90}, table2),
       {Read(0x2000,
             std::string("\x04\x00\x05\x02\x50\x00\x00\x00\x42\x03\x01\x23\x45\x67\x89\x01\x23XYZ\0\0", 22))},
       {"TAB002 NUMERO=1, DESCRIZ='XYZ', VALORE3=5, PREZZO=2.50, OPZ5=SI, VALORE7=42, VALORE8=3, "
        "CODICE=01234567890123"}},
      {"ARCHIVIO=3",
       Model('T', {}, rates),
       {Read(0x3004, {"\x22", 2}), Read(0x3008, {"\x04", 2})},
       {"IVA NUMERO=1, ALIQUOTA=22.00", "IVA NUMERO=2, ALIQUOTA=4.00"}},
      {"ARCHIVIO=4",
       Model('T', {}, header),
       {Read(0x4000, "CAFF'"), Read(0x4006, "BAR  ")},
       {"INTESTAZ RIGA1='CAFF''', RIGA2='BAR  '"}},
      {"ARCHIVIO=6, SESSIONE",
       Model('T', {}, options),
       {},
       {"APRIPROG FUNZIONE", "OPZIONI OPZ01='EUR'", "OPZIONI OPZ09=SI, OPZ17='AB0C'", "CHIUDIPROG"}},
      {"ARCHIVIO=9",
       Model('T', {57}, table15),
       {Read(0x5000, t15a), Info(4, 1, t15b)},
       {"TAB015 NUMERO=1, VALORE2=3, DESCRIZ='TEXTO', VALORE4=4, IMPORTO=12.34, VALORE6=6, VALORE11=9",
        "TAB015 NUMERO=2, VALORE2=0, DESCRIZ='     ', VALORE4=0, IMPORTO=0, VALORE6=0, VALORE11=0"}},
      {"ARCHIVIO=11",
       Model('T', {}, table21),
       {Info(2, 1, t21)},
       {"TAB021 NUMERO=1, VALORE2=7, VALORE3=9, TESTO1='AB', TESTO2='CD', TESTO3='EF', TESTO4='" +
        std::string(16, 'N') + "', ALIQUOTA1=22.00, VALORE9=3, ALIQUOTA2=10.50"}},
      // No such table: the file exists, with the session lines only.
      {"ARCHIVIO=8, SESSIONE", Model('T', {}), {}, {"APRIPROG FUNZIONE", "CHIUDIPROG"}, 271},
      {"ARCHIVIO=7", Model('T', {}), {}, {}, 271},
      // Currencies where they would lie, but the register states it has none (level 18).
      {"ARCHIVIO=7", Model('T', {}, [](EcrConfigRecord& ecr) { ecr.AreaAddress[1] = 0x6000; }), {}, {}, 271},
      {"ARCHIVIO=21, SESSIONE", Model('T', {}), {}, {"APRIPROG FUNZIONE", "CHIUDIPROG"}},
      // A read that fails keeps the lines before it, and the session is closed after them.
      {"ARCHIVIO=3, SESSIONE",
       Model('T', {}, rates),
       {Read(0x3004, {"\x22", 2}), {bytes({'D', 8, 0x30, 2}), bytes("X")}},
       {"APRIPROG FUNZIONE", "IVA NUMERO=1, ALIQUOTA=22.00", "CHIUDIPROG"},
       0x10000 | 'X'},
  };
  for (const Row& row : rows) Check(row);
}

// Model M reads two more groups of rates, each behind an unused record, from
// records V + 2 and V + 10 on (V plain rates); command 33 keys them into
// slots V + a and V + b + 7, so on this model the dump does not replay into
// the slots it was read from.
TEST_F(DumpWriters, ModelMRatesInThreeGroups) {
  Row row{"ARCHIVIO=3, NUMERICO",
          Model('M', {},
                [](EcrConfigRecord& ecr) {
                  ecr.Block4Byte43 = 2;
                  ecr.FileAddress[4] = 0x3000;
                  ecr.FileAddress[5] = 4;
                }),
          {},
          {}};
  const auto group = [&](int firstRecord, int count, const char* numberField) {
    for (int i = 0; i < count; ++i) {
      const int rate = 10 + firstRecord + i;  // distinct, as BCD: record n holds rate n + 10
      row.reads.push_back(Read(0x3000 + 4 * (firstRecord + i),
                               {std::string(1, static_cast<char>(rate / 10 * 16 + rate % 10)) + '\0'}));
      row.lines.push_back("#33 " +
                          std::string(numberField == nullptr ? "#1=" + std::to_string(i + 1) + ", " : "") +
                          "#2=" + std::to_string(rate) + ".00" +
                          (numberField ? std::string(", ") + numberField + std::to_string(i + 1) : ""));
    }
  };
  group(1, 2, nullptr);
  group(4, 7, "#5=");
  group(12, 4, "#6=");
  Check(row);
}

TEST_F(DumpWriters, HeaderLinesPastFourHundredCharactersStayWhole) {
  Row row{"ARCHIVIO=4",
          Model('T', {},
                [](EcrConfigRecord& ecr) {
                  ecr.RecordCount = 8;
                  ecr.RecordTableAddress = 0x4000;
                  ecr.PrintWidth = ecr.OutputWidth = 60;
                }),
          {},
          {}};
  std::string expected = "INTESTAZ ";
  for (int k = 1; k <= 8; ++k) {
    const std::string text(60, static_cast<char>('A' + k));
    row.reads.push_back(Read(0x4000 + 60 * (k - 1), text));
    expected += (k > 1 ? ", RIGA" : "RIGA") + std::to_string(k) + "='" + text + "'";
  }
  row.lines = {expected};
  Check(row);
}

// By record number one frame brings the record up to its text, and a record
// whose fields lie past what one frame holds is refused rather than cut.
TEST_F(DumpWriters, Table2ByNumberReadsWhatItsFieldsNeed) {
  auto byNumber = [](int textWidth) {
    return [=](EcrConfigRecord& ecr) {
      ecr.ModelFlag = 1, ecr.IdentityWord49 = 1, ecr.FileAddress[3] = 300;
      ecr.BcdBytesA = 2, ecr.Block4Byte39 = textWidth;
    };
  };
  Check({"ARCHIVIO=2",
         Model('T', {}, byNumber(3)),
         {{bytes({'D', 1, 0, 8, 0xF0}), bytes(std::string("D\x00\x00\x05\x02\x50XYZ", 9))}},
         {"TAB002 NUMERO=1, DESCRIZ='XYZ', VALORE3=5, PREZZO=2.50"}});
  Check({"ARCHIVIO=2", Model('T', {90}, byNumber(250)), {}, {}, 31});
}

TEST_F(DumpWriters, RefusedNumbersLeaveTheFileAlone) {
  for (const std::string number : {"0", "5", "-1", "12", "'X'"}) {
    SCOPED_TRACE(number);
    CommandLineTest::SetUp();
    std::ofstream(path_) << "kept\r\n";
    host.expect("S").answer(0, status_idle());
    EXPECT_EQ(RunLine("SCARICA ARCHIVIO=" + number + ", NOMEFILE='" + path_ + "'"), 271);
    EXPECT_EQ(Lines(), std::vector<std::string>{"kept"});
  }
  // Appending keeps what the file held.
  CommandLineTest::SetUp();
  host.expect("S").answer(0, status_idle());
  EXPECT_EQ(RunLine("SCARICA ARCHIVIO=21, SESSIONE, AGGIUNGI, NOMEFILE='" + path_ + "'"), 0);
  EXPECT_EQ(Lines(), (std::vector<std::string>{"kept", "APRIPROG FUNZIONE", "CHIUDIPROG"}));
}

}  // namespace
}  // namespace quadrel
