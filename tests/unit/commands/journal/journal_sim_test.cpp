// Command 72's direct read end to end against the simulated register: the
// journal it built from receipts sold through the translator comes back, by
// dates and by closure numbers, exactly as the receipts were printed.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cctype>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "commands/journal/journal_export_signed.h"
#include "commands/journal/journal_read.h"
#include "definition_text.h"
#include "file_text.h"
#include "run_line.h"
#include "sample_receipt.h"
#include "sim_host.h"

namespace quadrel {
namespace {

namespace fs = std::filesystem;

class JournalSim : public test_support::WithShippedDefinitions<> {
 protected:
  void SetUp() override {
    host_.sim.AddRegister(1, *ecrsim::BuiltInConfig("t72"));
    Reg().EditConfig().SetFeatureLevel(kFeatureJournalRead, 2);
    Configure(Reg().EditConfig());
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

  virtual void Configure(ecrsim::RegisterConfig&) {}
  static int Run(const std::string& line) { return test_support::RunLine(line); }
  ecrsim::SimRegister& Reg() { return *host_.sim.Find(1); }
  // What the register printed for one receipt, with the line ends a text file has.
  std::string Sell() {
    Reg().printer.Clear();
    for (const char* line : quadrel_test::kSampleReceiptLines) EXPECT_EQ(Run(line), 0) << line;
    return quadrel_test::WithCrLf(Reg().printer.Text());
  }
  std::string Read(const std::string& fields) {
    EXPECT_EQ(Run("#72 #13, " + fields + ", #6='" + file_.string() + "'"), 0) << fields;
    return quadrel_test::FileText(file_);
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

// Command 76 on a model-2 register; its identity comes from the identity block.
class JournalExportSim : public JournalSim {
 protected:
  void Configure(ecrsim::RegisterConfig& config) override {
    config.SetText(ecrsim::Area::Identity, 69, 8, "2000A35 ");
    config.SetText(ecrsim::Area::IdentityBlock, 4, 11, id_);
  }
  void SetUp() override {
    JournalSim::SetUp();
    dir_ = fs::temp_directory_path() / ("quadrel-export-" + std::to_string(getpid()));
    fs::create_directories(dir_);
  }
  void TearDown() override {
    fs::remove_all(dir_);
    JournalSim::TearDown();
  }
  // The digest as the system's own tool gives it, in the checksum file's form.
  static std::string SystemSha1(const fs::path& path) {
    std::string hex(40, ' ');
    std::FILE* tool = popen(("sha1sum '" + path.string() + "'").c_str(), "r");
    EXPECT_NE(tool, nullptr);
    EXPECT_EQ(std::fread(hex.data(), 1, hex.size(), tool), hex.size());
    pclose(tool);
    for (char& c : hex) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return hex + "\r\n";
  }
  // The translator reads the changed configuration afresh.
  static void Reselect() {
    InvalidateAllEcrRecords();
    ASSERT_EQ(Run("SELEZIONA CASSA=1"), 0);
  }
  fs::path File(const std::string& closure, const char* ext) { return dir_ / (id_ + "_" + closure + ext); }

  std::string id_ = "RT-ID-00072";
  fs::path dir_;
};

TEST_F(JournalExportSim, TheClosuresJournalAndItsDigestLandInTheFolder) {
  for (const char* closure : {"2", "9"}) {  // 9: no such closure, an empty journal
    ASSERT_EQ(Run("#76 #1=" + std::string(closure) + ", #2='" + dir_.string() + "/'"), 0);
    EXPECT_EQ(quadrel_test::FileText(File(closure, ".txt")), closure == std::string("2") ? receipts_[1] : "");
    EXPECT_EQ(quadrel_test::FileText(File(closure, ".sh1")), SystemSha1(File(closure, ".txt")));
  }
}

TEST_F(JournalExportSim, RefusalsLeaveNoChecksumFile) {
  struct Case {
    const char* fields;
    int code;
    bool staleKept;  // refused before the journal was read: nothing touched
    void (*change)(ecrsim::RegisterConfig&);
  } cases[] = {
      {"#1=0", kResultIllegalValue, true, nullptr},
      {"#1='2x'", kResultIllegalValue, true, nullptr},
      {"#1=10000", kResultIllegalValue, true, nullptr},
      {"#1=2", kResultVersionNotSupported, true,
       [](ecrsim::RegisterConfig& c) { c.SetText(ecrsim::Area::Identity, 69, 8, "T1RT072A"); }},
      {"#1=2", kResultBatchFileOpenError, true,  // an identity that would leave the folder
       [](ecrsim::RegisterConfig& c) { c.SetText(ecrsim::Area::IdentityBlock, 4, 11, "..\\ID-0072"); }},
      {"#1=2", kResultVersionNotSupported, false,  // the journal read fails: its code
       [](ecrsim::RegisterConfig& c) { c.SetFeatureLevel(kFeatureJournalRead, 0); }},
  };
  const fs::path stale = File("2", ".sh1");
  for (const Case& c : cases) {
    if (c.change) {
      c.change(Reg().EditConfig());
      Reselect();
    }
    std::ofstream(stale) << "stale";
    EXPECT_EQ(Run("#76 " + std::string(c.fields) + ", #2='" + dir_.string() + "/'"), c.code) << c.fields;
    EXPECT_EQ(fs::exists(stale), c.staleKept) << c.fields;
    Configure(Reg().EditConfig());
    Reg().EditConfig().SetFeatureLevel(kFeatureJournalRead, 2);
    Reselect();
  }
}

// A disk that takes the checksum's 42 bytes but not the whole journal: the
// export fails and no digest stands beside the cut text.
TEST_F(JournalExportSim, AJournalCutShortGetsNoChecksum) {
  rlimit before{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &before), 0);
  rlimit small = before;
  small.rlim_cur = 64;
  ASSERT_LT(small.rlim_cur, receipts_[1].size());
  const auto signalBefore = std::signal(SIGXFSZ, SIG_IGN);  // the write fails instead of ending the process
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  const int result = Run("#76 #1=2, #2='" + dir_.string() + "/'");
  setrlimit(RLIMIT_FSIZE, &before);
  std::signal(SIGXFSZ, signalBefore);
  EXPECT_EQ(result, kResultBatchFileOpenError);
  EXPECT_FALSE(fs::exists(File("2", ".sh1")));
}

TEST(JournalExportNames, TheFolderGetsOneSeparator) {
  for (const char* folder : {"C:\\out", "C:\\out\\"})
    EXPECT_EQ(MakeSignedExportNames(folder, "ID", "7").checksum, "C:\\out\\ID_7.sh1") << folder;
  EXPECT_EQ(MakeSignedExportNames("", "ID", "7").journal, "ID_7.txt");
}

}  // namespace
}  // namespace quadrel
