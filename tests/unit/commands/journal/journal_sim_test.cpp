// Command 72's direct read end to end against the simulated register: the
// journal it built from receipts sold through the translator comes back, by
// dates and by closure numbers, exactly as the receipts were printed.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "commands/journal/journal_read.h"
#include "definition_text.h"
#include "language/definition_tables.h"
#include "run/command_executor.h"
#include "run/key_batch_sender.h"
#include "sample_receipt.h"
#include "sim_host.h"

namespace quadrel {
namespace {

namespace fs = std::filesystem;

class JournalSim : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { ASSERT_TRUE(test_support::LoadShippedDefinitions()); }
  static void TearDownTestSuite() { ClearDefinitionTables(); }
  void SetUp() override {
    host_.sim.AddRegister(1, *ecrsim::BuiltInConfig("t72"));
    Reg().EditConfig().SetFeatureLevel(kFeatureJournalRead, 2);
    host_.Install();
    ASSERT_EQ(Run("SELEZIONA CASSA=1"), 0);
    file_ = fs::temp_directory_path() / ("quadrel-journal-sim-" + std::to_string(getpid()) + ".txt");
    // Receipt 1 on the first day in closure 1, receipt 2 on the next in closure 2.
    receipts_[0] = Sell();
    Reg().journal.date = "020124";
    Reg().journal.closure = 2;
    receipts_[1] = Sell();
  }
  void TearDown() override {
    fs::remove(file_);
    ResetProcessState();
  }

  static int Run(const std::string& line) { return SendKeyBatch(TradExecCommand(line), nullptr, 0); }
  ecrsim::SimRegister& Reg() { return *host_.sim.Find(1); }
  // What the register printed for one receipt, with the line ends a text file has.
  std::string Sell() {
    Reg().printer.Clear();
    for (const char* line : quadrel_test::kSampleReceiptLines) EXPECT_EQ(Run(line), 0) << line;
    std::string text;
    for (const char c : Reg().printer.Text()) text += c == '\n' ? std::string("\r\n") : std::string(1, c);
    return text;
  }
  std::string Read(const std::string& fields) {
    EXPECT_EQ(Run("#72 #13, " + fields + ", #6='" + file_.string() + "'"), 0) << fields;
    std::ifstream in(file_, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }

  SimHost host_;
  fs::path file_;
  std::string receipts_[2];
};

TEST_F(JournalSim, ReceiptsComeBackAsPrintedByDatesClosuresAndDocumentNumbers) {
  ASSERT_GT(receipts_[0].size(), ecrsim::kJournalBlockBytes);  // lines split across blocks
  EXPECT_EQ(Read("#1=010124"), receipts_[0]);
  EXPECT_EQ(Read("#1=010124, #2=020124"), receipts_[0] + receipts_[1]);
  EXPECT_EQ(Read("#18=2"), receipts_[1]);
  EXPECT_EQ(Read("#18=1, #19=2"), receipts_[0] + receipts_[1]);
  EXPECT_EQ(Read("#1=020124, #3=2, #4=2"), receipts_[1]);
  EXPECT_EQ(Read("#1=030124"), "");
}

TEST_F(JournalSim, AnAbortStopsTheReadWithTheLinesSoFarInTheFile) {
  host_.onProgress = [](int call, int* abort) {
    if (call == 2) *abort = 1;
  };
  const std::string part = Read("#1=010124, #2=020124");
  EXPECT_LT(part.size(), receipts_[0].size());
  EXPECT_EQ(receipts_[0].substr(0, part.size()), part);
}

}  // namespace
}  // namespace quadrel
