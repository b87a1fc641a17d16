// The programming commands against a simulated register inside its
// programming function: each record lands in the table the register keeps,
// header lines the register already holds are not sent again, and a record
// the register refuses stops the command.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "definition_text.h"
#include "run/command_executor.h"
#include "run/key_batch_sender.h"
#include "sim_host.h"
#include "text/code_page.h"

namespace quadrel {
namespace {

constexpr int kHeaderBase = 0xE000;
constexpr int kHeaderLineBytes = 8;
constexpr int kTable15Base = 0xE100;

struct Landing {
  std::string line;
  int table;
  int record;
  std::vector<std::string> fields;  // the first fields the register holds, in register characters
};

class ProgrammingSim : public test_support::WithShippedDefinitions<> {
 protected:
  void SetUp() override {
    ecrsim::RegisterConfig config = *ecrsim::BuiltInConfig("t72");
    config.SetNumber(ecrsim::Area::Identity, 47, 1, 20);  // departments
    config.SetNumber(ecrsim::Area::Identity, 48, 1, 1);   // the nine-digit line
    config.SetNumber(ecrsim::Area::Block3, 23, 2, kHeaderBase);
    config.SetNumber(ecrsim::Area::Block4, 33, 1, kHeaderLineBytes);
    config.SetNumber(ecrsim::Area::Block4, 37, 1, 2);  // header lines
    config.SetFeatureLevel(11, 1);                     // lines compared with the register's
    config.SetFeatureLevel(57, 1);                     // table 15: four records of 20 bytes
    config.SetNumber(ecrsim::Area::Block4, 58, 1, 4);
    config.SetNumber(ecrsim::Area::Block1, 39, 2, kTable15Base);
    config.SetNumber(ecrsim::Area::Block1, 41, 2, 20);
    config.SetFeatureLevel(114, 1);  // and two more behind 'U' 0 0x20 4
    config.SetNumber(ecrsim::Area::Ext31, 48, 2, 2);
    host_.sim.AddRegister(1, config);
    host_.Install();
    ASSERT_EQ(Run("SELEZIONA CASSA=1"), 0);
    ASSERT_EQ(Run("APRIPROG FUNZIONE"), 0);
  }
  void TearDown() override { ResetProcessState(); }

  static int Run(const std::string& line) { return SendKeyBatch(TradExecCommand(line), nullptr, 0); }
  ecrsim::SimRegister& Reg() { return *host_.sim.Find(1); }
  int KeyRecordsSince(std::size_t first) {
    int records = 0;
    for (std::size_t i = first; i < Reg().Log().size(); ++i) records += Reg().Log()[i].frame[0] == 'A';
    return records;
  }

  SimHost host_;
};

TEST_F(ProgrammingSim, EachCommandProgramsTheRecordTheRegisterShows) {
  const std::vector<Landing> rows = {
      {"REPARTO NUMERO=3, DESCRIZ='PANE', PREZZO=1.50, LIMITE=4", 1, 3, {"PANE", "1.50", "4"}},
      {"TAB002 NUMERO=2, DESCRIZ='BAR', PREZZO=0.00", 2, 2, {"BAR", "0"}},
      {"MODIFICAT NUMERO=2, OPZ3=1, VALORE=15, DESCRIZ='SCONTO'", 6, 1, {"1", "15", "SCONTO"}},
      {"TAB251 VALORE1=7, TESTO='FINE'", 251, 1, {"7", "", "", "", "FINE"}},
      {"IVA NUMERO=2, ALIQUOTA=22.5", 3, 1, {"", "22.5"}},
  };
  for (const Landing& row : rows) {
    SCOPED_TRACE(row.line);
    ASSERT_EQ(Run(row.line), 0);
    const auto* fields = Reg().keyboard.tables.Fields(row.table, row.record);
    ASSERT_NE(fields, nullptr);
    EXPECT_EQ(std::vector<std::string>(fields->begin(), fields->begin() + row.fields.size()), row.fields);
    EXPECT_EQ(Reg().Status().critical, 0);
    EXPECT_EQ(Reg().keyboard.openFunction, 2);  // every table ended, the function still open
  }
}

TEST_F(ProgrammingSim, HeaderLinesTheRegisterHoldsAreNotSentAgain) {
  const std::string line = "INTESTAZ RIGA1='Caff\xE8', RIGA2='BAR', CIFRE9='123456789'";
  ASSERT_EQ(Run(line), 0);
  EXPECT_EQ(*Reg().keyboard.tables.Fields(4, 1),
            (std::vector<std::string>{"123456789", PcToEcrText("Caff\xE8"), "BAR"}));

  // Read back from the register's memory, the non-ASCII line compares equal.
  const std::size_t before = Reg().Log().size();
  EXPECT_EQ(Run(line), 0);
  EXPECT_EQ(KeyRecordsSince(before), 0);

  // A header dump holds no nine-digit line: the register keeps its own.
  EXPECT_EQ(Run("INTESTAZ RIGA1='NUOVO', RIGA2='BAR'"), 0);
  EXPECT_EQ(Reg().keyboard.tables.Fields(4, 1)->front(), "123456789");
}

TEST_F(ProgrammingSim, Table15KeysItsFieldsOnlyWhileTheRecordsNumberIsSet) {
  using Bytes = std::vector<std::uint8_t>;
  ASSERT_EQ(Run("TAB015 NUMERO=2, VALORE2=5, DESCRIZ='CAFFE'"), 0);
  // The number the register holds decides: the whole record, or its end alone.
  ASSERT_EQ(Run("TAB015 NUMERO=2, DESCRIZ='TE'"), 0);
  EXPECT_EQ(Reg().Log().back().frame, (Bytes{'A', 146, 146}));
  EXPECT_EQ(Reg().keyboard.tables.Fields(15, 2)->at(1), "TE");
  ASSERT_EQ(Run("TAB015 NUMERO=2, VALORE2=0"), 0);
  ASSERT_EQ(Run("TAB015 NUMERO=2, DESCRIZ='X'"), 0);
  EXPECT_EQ(Reg().Log().back().frame, (Bytes{'A', 146}));
  EXPECT_EQ(Reg().keyboard.tables.Fields(15, 2)->at(1), "TE");
  // The same for a record of the extension, which the register keeps apart.
  ASSERT_EQ(Run("TAB015 NUMERO=6, VALORE2=3"), 0);
  ASSERT_EQ(Run("TAB015 NUMERO=6, DESCRIZ='EXTRA'"), 0);
  EXPECT_EQ(Reg().Log().back().frame, (Bytes{'A', 146, 146}));
  EXPECT_EQ(Run("TAB015 NUMERO=7"), 265);
}

TEST_F(ProgrammingSim, ARefusedRecordStopsTheCommand) {
  const std::size_t before = Reg().Log().size();
  // 'S', three reads, the table record; the nine-digit line is refused.
  Reg().AddFault({ecrsim::FaultKind::CriticalState, ecrsim::kCriticalKeySequence, 0, 5});
  EXPECT_EQ(Run("INTESTAZ RIGA1='A', RIGA2='B', CIFRE9='123456789'"), 0x1000 | ecrsim::kCriticalKeySequence);
  EXPECT_EQ(KeyRecordsSince(before), 3);  // the two records and the clear key
  EXPECT_EQ(Reg().Log().back().frame, (std::vector<std::uint8_t>{'A', 0}));
}

}  // namespace
}  // namespace quadrel
