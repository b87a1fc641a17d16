// Command 30 against a simulated register: each download mode's file line by
// line, the command-line form replayed into an emptied register, the
// options around a transfer and the refusals before and during one.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "language/result_codes.h"
#include "language/result_text.h"
#include "state/library_state.h"
#include "sim_command_fixture.h"

namespace quadrel {
namespace {

namespace fs = std::filesystem;

class FileTransferSim : public SimCommandTest {
 protected:
  void SetUp() override {
    SimCommandTest::SetUp();
    dir_ = fs::temp_directory_path() / ("quadrel-xfer-" + std::to_string(getpid()));
    fs::create_directories(dir_);
  }
  void TearDown() override {
    fs::remove_all(dir_);
    SimCommandTest::TearDown();
  }

  std::string Path(const std::string& name) const { return (dir_ / name).string(); }
  std::vector<std::string> Lines(const std::string& name) const {
    std::ifstream in(Path(name), std::ios::binary);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      lines.push_back(line);
    }
    return lines;
  }
  int Transfer(const std::string& mode, const std::string& options = {}) {
    return Run("TRASFER MODO='" + mode + "', FILE='" + Path("data.txt") + "'" + options);
  }
  void SetFileInfo(int offset, int width, int value) {
    Reg().EditConfig().SetNumber(ecrsim::Area::FileInfo, offset, width, static_cast<std::uint32_t>(value));
  }
  void AddArticles() {
    ASSERT_EQ(
        Run("ARTICOLO CODICE=123, DESCRIZ='PEN', NUMERO1=7, NUMERO2=300, CLASSE='1D', CIFRA=3, PREZZO1=1.5, "
            "PREZZO2=2, PREZZO3=0, VALORE4=42, OPERAZ='I'"),
        0);
    ASSERT_EQ(Run("ARTICOLO CODICE='AB''C', DESCRIZ='INK, BLUE', CLASSE=5, PREZZO1=12, OPERAZ='I'"), 0);
  }

  fs::path dir_;
};

TEST_F(FileTransferSim, ArticlesComeOutAsSeparatedValues) {
  AddArticles();
  ASSERT_EQ(Transfer("da"), 0);
  EXPECT_EQ(Lines("data.txt"),
            (std::vector<std::string>{
                "'000000000123','PEN',00007,00300,1DI2,0000000150,0000000200,0000000000,000042",
                "'AB''C','INK, BLUE',00000,00000,05  ,0000001200,0000000000,0000000000,000000"}));
  std::string text;
  FormatResultText(text, 0);
  EXPECT_EQ(text.substr(0, 12), "OK.(2 Lines ");

  ASSERT_EQ(Transfer("DA", ", OPZIONE=1"), 0);
  EXPECT_EQ(Lines("data.txt"), (std::vector<std::string>{"'000000000123',000042", "'AB''C',000000"}));
}

TEST_F(FileTransferSim, ReplayedArticleAndOFileLinesRebuildTheFiles) {
  AddArticles();
  ASSERT_EQ(Run("OFILE NUMERO=1, TIPO=0"), 0);
  ASSERT_EQ(Run("OFILE NUMERO=2, TIPO=3, VAL1=12, BYTE=200, TESTO='TEN', CIFRE=4, ALT19=3.25"), 0);
  ASSERT_EQ(Run("OFILE NUMERO=3, TIPO=6, VAL8=99, ALT19=9, ALT22=1, ALT24=2.5, ALT25=10.75"), 0);
  ASSERT_EQ(Run("OFILE NUMERO=4, TIPO=7, TESTO='AB''C'"), 0);
  SetFileInfo(69, 2, 4);
  const auto articles = Reg().records.articles;
  const auto oFile = Reg().records.oFile;

  std::vector<std::string> replay;
  for (const std::string mode : {"DA", "DO"}) {
    ASSERT_EQ(Transfer(mode, ", COMANDI"), 0) << mode;
    for (const std::string& line : Lines("data.txt")) replay.push_back(line);
  }
  Reg().records = {};
  for (const std::string& line : replay) ASSERT_EQ(Run(line), 0) << line;
  EXPECT_EQ(Reg().records.articles, articles);
  EXPECT_EQ(Reg().records.oFile, oFile);
}

TEST_F(FileTransferSim, OFileRecordsComeOutByKind) {
  ASSERT_EQ(Run("OFILE NUMERO=1, TIPO=0"), 0);
  ASSERT_EQ(Run("OFILE NUMERO=2, TIPO=6, VAL1=12, BYTE=200, TESTO='TEN', ALT19=9, ALT24=2.5, ALT25=10.75"),
            0);
  SetFileInfo(69, 2, 3);  // record 3 is not there: refused, counted, logged
  EXPECT_EQ(Transfer("DO", ", LOG='" + Path("log.txt") + "'"), kResultTransferErrors);
  EXPECT_EQ(Lines("data.txt"),
            (std::vector<std::string>{"1,0",
                                      "2,6,12,00,00,00,00,00,00,00,200,'TEN',9,0000000250,0000000000,1075"}));
  EXPECT_EQ(Lines("log.txt").size(), 2u);  // the refusal, then the result
}

TEST_F(FileTransferSim, DataCollectRecordsComeOutUpToTheSelectedReceipt) {
  const std::vector<std::uint8_t> receiptEnd = {0x0D, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
  for (const auto& record :
       {std::vector<std::uint8_t>{0x01, 0x12}, receiptEnd, {0x02, 0x34}, receiptEnd, {0x03}})
    Reg().transfers.AddCollected(record, Reg().EditConfig());
  ASSERT_EQ(Transfer("DM"), 0);
  EXPECT_EQ(Lines("data.txt"), (std::vector<std::string>{"0112", "0D0102030405060708090A", "0234",
                                                         "0D0102030405060708090A", "03"}));
  ASSERT_EQ(Transfer("DM", ", SELNUM=2"), 0);
  EXPECT_EQ(Lines("data.txt"), (std::vector<std::string>{"0234", "0D0102030405060708090A"}));

  // A receipt end too short for its fields gives no line.
  Reg().transfers.AddCollected({0x0D, 0x00}, Reg().EditConfig());
  ASSERT_EQ(Transfer("DM"), kResultTransferErrors);
  EXPECT_EQ(Lines("data.txt").size(), 5u);
  ASSERT_EQ(Run("TRASFER MODO='RM'"), 0);
  EXPECT_EQ(Transfer("DM", ", AGGIUNGI"), 0);
  EXPECT_EQ(Lines("data.txt").size(), 5u);
}

TEST_F(FileTransferSim, TextTableComesOutAndGoesOnlyWhenComplete) {
  const int amountBytes = EcrRecord(1).AmountBytes;
  for (int n = 1; n <= 3; ++n) {
    ecrsim::RecordBytes amount(static_cast<std::size_t>(amountBytes), 0);
    amount.back() = static_cast<std::uint8_t>(n);
    Reg().transfers.textTable[n] = {static_cast<std::uint16_t>(0x0100 * n + 0x22), amount};
  }
  SetFileInfo(79, 1, 3);
  host_.onProgress = [](int call, int* abort) { *abort = call == 2; };
  ASSERT_EQ(Transfer("DT", ", CANCELLA"), 0);
  EXPECT_EQ(Lines("data.txt").size(), 2u);
  EXPECT_EQ(Reg().transfers.textTableClears, 0);

  host_.onProgress = nullptr;
  ASSERT_EQ(Transfer("DT", ", CANCELLA"), 0);
  const std::string zeros(2 * static_cast<std::size_t>(amountBytes) - 2, '0');
  EXPECT_EQ(Lines("data.txt")[0], "001," + zeros + "01,2201");  // the word's bytes as they come
  EXPECT_EQ(Reg().transfers.textTableClears, 1);
}

TEST_F(FileTransferSim, DescriptionTablesReadDepartmentsFromMemory) {
  const EcrConfigRecord& r = EcrRecord(1);
  const int a = r.AmountBytes;
  const int first = r.Block4Byte38 + r.Block4Byte57 + r.BcdBytesA + 2 + (r.ModelLetter == '7' ? 5 : 0);
  std::vector<std::uint8_t> department(static_cast<std::size_t>(first + 3 * a), 0);
  department[static_cast<std::size_t>(first + a - 1)] = 0x11;
  department[static_cast<std::size_t>(first + 3 * a - 1)] = 0x22;
  Reg().placedMemory.Place(static_cast<std::uint32_t>(r.FileAddress[0]), department);
  ASSERT_EQ(Transfer("DF"), 0);
  const auto lines = Lines("data.txt");
  ASSERT_EQ(lines.size(), r.AreaAddress[4] != 0 ? 110u : 86u);
  const std::string zeros(2 * static_cast<std::size_t>(a) - 2, '0');
  EXPECT_EQ(lines[0], "001," + zeros + "22," + zeros + "11");
  if (r.IdentityByte47 < 30) {
    EXPECT_EQ(lines[29], "030,,");
  }
}

TEST_F(FileTransferSim, LostRecordsAreAskedForAgainOrReported) {
  AddArticles();
  ASSERT_EQ(Run("ARTICOLO CODICE=9, DESCRIZ='CAP', OPERAZ='I'"), 0);
  Reg().transfers.lostSequences = {2};
  ASSERT_EQ(Transfer("DA", ", OPZIONE=1"), 0);
  EXPECT_EQ(Lines("data.txt").size(), 3u);
  Reg().transfers.lostSequences = {3};  // the last one: only the register's count tells
  EXPECT_EQ(Transfer("DA", ", OPZIONE=1"), kResultRecordsMissing);
  EXPECT_EQ(Lines("data.txt").size(), 2u);
}

TEST_F(FileTransferSim, AnAbortedDownloadClearsOnlyWhatItWrote) {
  AddArticles();
  host_.onProgress = [](int, int* abort) { *abort = 1; };
  ASSERT_EQ(Transfer("DA", ", CANCELLA"), 0);
  std::string text;
  FormatResultText(text, 0);
  EXPECT_NE(text.find("ABORTED BY USER"), std::string::npos);
  EXPECT_EQ(Lines("data.txt").size(), 1u);
  EXPECT_EQ(Reg().records.articles.size(), 1u);
}

// A full disk (/dev/full takes every write and fails the flush) must keep
// the register's data: nothing is cleared from a file that did not take it.
TEST_F(FileTransferSim, ADownloadThatCannotBeWrittenClearsNothing) {
  AddArticles();
  Reg().transfers.textTable[1] = {0x0122,
                                  ecrsim::RecordBytes(static_cast<std::size_t>(EcrRecord(1).AmountBytes), 1)};
  SetFileInfo(79, 1, 1);
  for (const char* mode : {"DA", "DT"})
    EXPECT_EQ(Run(std::string("TRASFER MODO='") + mode + "', FILE='/dev/full', CANCELLA"),
              kResultDataFileOpenError)
        << mode;
  EXPECT_EQ(Reg().records.articles.size(), 2u);
  EXPECT_EQ(Reg().transfers.textTableClears, 0);
}

TEST_F(FileTransferSim, RefusalsComeBeforeTheirFiles) {
  std::ofstream(Path("data.txt")) << "kept\n";
  EXPECT_EQ(Transfer("DX"), kResultIllegalTransferMode);
  EXPECT_EQ(Transfer("DC"), kResultIllegalTransferMode);
  EXPECT_EQ(Lines("data.txt"), std::vector<std::string>{"kept"});
  EXPECT_EQ(Transfer("DA", ", LOG='" + Path("no/such/log.txt") + "'"), kResultLogFileOpenError);

  Reg().Status().transaction = 1;
  EXPECT_EQ(Transfer("DA", ", STANDBY, LOG='" + Path("log.txt") + "'"), kResultTransactionOpen);
  EXPECT_EQ(Lines("data.txt"), std::vector<std::string>{"kept"});
  EXPECT_EQ(Lines("log.txt").size(), 1u);
  Reg().Status().transaction = 0;
  Library().TradFlags |= TRADF_MULTI_ECR;
  ASSERT_EQ(Transfer("DA", ", STANDBY, BANNER, HOST"), 0);
  EXPECT_EQ(host_.services, (std::vector<int>{ECRIO_XFER_BEGIN, ECRIO_XFER_END}));
  EXPECT_FALSE(Reg().standBy);
  EXPECT_EQ(Lines("data.txt").size(), 5u);  // the header's four lines and the trailer
}

}  // namespace
}  // namespace quadrel
