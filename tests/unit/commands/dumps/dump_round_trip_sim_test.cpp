// The programming-table dumps end to end: tables programmed into a simulated
// register, dumped, replayed as a batch into a fresh register and dumped
// again give the same file.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "control_commands.h"
#include "definition_text.h"
#include "exports/ecr_cmd.h"
#include "language/definition_tables.h"
#include "sim_host.h"

namespace quadrel {
namespace {

ecrsim::RegisterConfig TablesConfig() {
  using ecrsim::Area;
  ecrsim::RegisterConfig c = *ecrsim::BuiltInConfig("t72");
  c.SetNumber(Area::Identity, 62, 1, 2);  // decimals
  c.SetNumber(Area::Identity, 47, 1, 2);  // departments: 16 bytes at 0xE200
  c.SetNumber(Area::Block1, 1, 2, 0xE200);
  c.SetNumber(Area::Block1, 3, 2, 16);
  c.SetNumber(Area::Block4, 38, 1, 6);
  c.SetNumber(Area::Block4, 40, 1, 3);
  c.SetNumber(Area::Identity, 49, 2, 1);  // table 2: 20 bytes at 0xE300, with a 14-digit code
  c.SetFeatureLevel(90, 1);
  c.SetNumber(Area::Block1, 5, 2, 0xE300);
  c.SetNumber(Area::Block1, 7, 2, 20);
  c.SetNumber(Area::Block4, 39, 1, 6);
  c.SetNumber(Area::Block4, 43, 1, 2);  // VAT rates at 0xE400
  c.SetNumber(Area::Block1, 9, 2, 0xE400);
  c.SetNumber(Area::Block1, 11, 2, 4);
  c.SetNumber(Area::Block3, 23, 2, 0xE000);  // two header lines
  c.SetNumber(Area::Block4, 37, 1, 2);
  c.SetFeatureLevel(57, 1);  // table 15: one record of 20 bytes at 0xE500, one more behind 'U' 0 0x20 4
  c.SetNumber(Area::Block4, 58, 1, 1);
  c.SetNumber(Area::Block1, 39, 2, 0xE500);
  c.SetNumber(Area::Block1, 41, 2, 20);
  c.SetFeatureLevel(114, 1);
  c.SetNumber(Area::Ext31, 48, 2, 1);
  c.SetNumber(Area::Ext31, 43, 2, 1);  // table 21: one record, texts of 4
  c.SetNumber(Area::Ext31, 78, 2, 4);
  c.SetFeatureLevel(95, 1);  // a second key map
  return c;
}

class DumpRoundTrip : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { ASSERT_TRUE(test_support::LoadShippedDefinitions()); }
  static void TearDownTestSuite() { ClearDefinitionTables(); }
  void TearDown() override {
    host_.reset();
    ResetProcessState();
    for (const char* name : {"first", "second"}) std::filesystem::remove(Path(name));
  }

  void FreshRegister() {
    host_.reset();
    host_ = std::make_unique<SimHost>();
    host_->sim.AddRegister(1, TablesConfig());
    host_->Install();
    ASSERT_EQ(Run("SELEZIONA CASSA=1"), 0);
  }
  std::string Control(const std::string& line) { return ecrsim::RunControlLine(host_->sim, line); }
  std::string Keyboard() { return Control("keys 1 1") + Control("keys 1 2") + Control("macro 1 3") + Control("macro 1 4"); }
  int Run(const std::string& line) {
    std::string text;
    return EcrCommand(line, text);
  }
  static std::string Path(const std::string& name) {
    return (std::filesystem::temp_directory_path() / ("quadrel-trip-" + std::to_string(::getpid()) + name)).string();
  }
  void DumpAll(const std::string& name) {
    for (const char* file : {"1", "2", "3", "4", "9", "11"})
      ASSERT_EQ(Run(std::string("SCARICA ARCHIVIO=") + file + ", SESSIONE, AGGIUNGI, NOMEFILE='" + Path(name) + "'"), 0)
          << file;
  }
  static std::string Contents(const std::string& name) {
    std::ostringstream text;
    text << std::ifstream(Path(name), std::ios::binary).rdbuf();
    return text.str();
  }

  std::unique_ptr<SimHost> host_;
};

TEST_F(DumpRoundTrip, AReplayedDumpProgramsTheSameTables) {
  FreshRegister();
  for (const char* line : {"APRIPROG FUNZIONE", "REPARTO NUMERO=1, DESCRIZ='PANE', PREZZO=1.50, LIMITE=4, OPZ1=SI",
                           "REPARTO NUMERO=2, DESCRIZ='LATTE', PREZZO=0.99",
                           "TAB002 NUMERO=1, DESCRIZ='BAR', VALORE3=3, PREZZO=2.00, CODICE=12345678901234",
                           "IVA NUMERO=1, ALIQUOTA=22.00", "IVA NUMERO=2, ALIQUOTA=4.00",
                           "INTESTAZ RIGA1='CAFFE', RIGA2='BAR'",
                           "TAB015 NUMERO=1, VALORE2=5, DESCRIZ='PROMO', VALORE4=2, IMPORTO=1.25, VALORE6=1",
                           "TAB015 NUMERO=2, VALORE2=0",
                           "TAB021 NUMERO=1, VALORE2=1, VALORE3=2, TESTO1='AA', TESTO2='BB', TESTO3='CC', "
                           "TESTO4='NOTA', ALIQUOTA1=10.00, VALORE9=3, ALIQUOTA2=5.50",
                           "CHIUDIPROG"})
    ASSERT_EQ(Run(line), 0) << line;
  DumpAll("first");
  const std::string first = Contents("first");
  for (const char* expected : {"DESCRIZ='PANE  ', LIMITE=4, OPZ1=SI", "PREZZO=2.00, CODICE=12345678901234", "ALIQUOTA=22.00",
                               "RIGA1='CAFFE ", "IMPORTO=1.25", "TESTO4='NOTA"})
    EXPECT_NE(first.find(expected), std::string::npos) << expected << "\n" << first;

  FreshRegister();
  ASSERT_EQ(Run("@" + Path("first")), 0);
  DumpAll("second");
  EXPECT_EQ(Contents("second"), first);
}

TEST_F(DumpRoundTrip, AReplayedKeyboardDumpProgramsTheSameMaps) {
  FreshRegister();
  for (const char* line : {"keys 1 1 1 49", "keys 1 1 3 12", "keys 1 1 80 202", "keys 1 1 7 203", "keys 1 2 5 49",
                           "macro 1 3 = 1 145 150", "macro 1 4 ="})
    ASSERT_EQ(Control(line), "OK\n") << line;
  const std::string keyboard = Keyboard();
  ASSERT_EQ(Run("SCARICA ARCHIVIO=10, SESSIONE, NOMEFILE='" + Path("first") + "'"), 0);

  FreshRegister();
  ASSERT_EQ(Run("@" + Path("first")), 0) << Contents("first");
  EXPECT_EQ(Keyboard(), keyboard);
}

}  // namespace
}  // namespace quadrel
