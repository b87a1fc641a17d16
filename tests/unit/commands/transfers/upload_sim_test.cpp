// Article and O-file uploads of command 30 against a simulated register: the
// rules of a file line, the run over a file with its counts, log and
// progress, and files written by the download loaded back.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "commands/transfers/upload_lines.h"
#include "control/control_commands.h"
#include "language/result_codes.h"
#include "language/result_text.h"
#include "sim_command_fixture.h"

namespace quadrel {
namespace {

namespace fs = std::filesystem;

class UploadSim : public SimCommandTest {
 protected:
  void SetUp() override {
    SimCommandTest::SetUp();
    dir_ = fs::temp_directory_path() / ("quadrel-upload-" + std::to_string(getpid()));
    fs::create_directories(dir_);
  }
  void TearDown() override {
    fs::remove_all(dir_);
    SimCommandTest::TearDown();
  }
  std::string Path(const std::string& name) const { return (dir_ / name).string(); }
  void WriteData(const std::string& text) { std::ofstream(Path("data.txt"), std::ios::binary) << text; }
  int Upload(const std::string& mode, const std::string& options = {}) {
    return Run("TRASFER MODO='" + mode + "', FILE='" + Path("data.txt") + "', LOG='" + Path("log.txt") + "'" +
               options);
  }
  std::vector<std::string> Log() const {
    std::ifstream in(Path("log.txt"));
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
  }
  // The stored class pair of article "1" (t72 keeps it after the 20-byte description and two numbers).
  std::string ClassOfArticle1() {
    const std::string body = ecrsim::RunControlLine(host_.sim, "record 1 article 30303030303030303030303120");
    return body.size() > 52 ? body.substr(48, 4) : body;
  }

  fs::path dir_;
};

TEST_F(UploadSim, ArticleLinesFollowTheFileRules) {
  struct Case {
    const char* line;
    int result;
    const char* classPair;  // stored after a good line
  };
  const Case cases[] = {
      {"I,1,PEN,,,22I3", 0, "2204"},
      {"M,1,,,,5", 0, "0500"},
      {"M,1,,,,I3", kResultVatFieldInvalid, nullptr},
      {"M,1,,,,22I5", kResultVatFieldInvalid, nullptr},
      {"M,1,,,,22I33", kResultVatFieldInvalid, nullptr},
      {"M,1,,,,123", kResultDptFieldInvalid, nullptr},
      {",1,PEN", kResultCommandFieldInvalid, nullptr},
      {"X,1,PEN", kResultCommandFieldInvalid, nullptr},
      {"M,1,,1.5", kResultNotNumericField, nullptr},
      {"M,1,'ABCDEFGHIJKLMNOPQRSTU'", kResultAlphaFieldInvalid, nullptr},
      {"M,1,'PEN", kResultAlphaFieldInvalid, nullptr},
      {"I,,PEN", kResultArticleCodeInvalid, nullptr},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(XferArticleLine(c.line), c.result) << c.line;
    if (c.classPair) {
      EXPECT_EQ(ClassOfArticle1(), c.classPair) << c.line;
    }
  }
  // '~' makes digits a text code; more fields than slots are refused.
  ASSERT_EQ(XferArticleLine("I,~77,TEXT"), 0);
  EXPECT_EQ(ecrsim::RunControlLine(host_.sim, "record 1 article 37372020202020202020202020").substr(0, 8),
            "54455854");
  EXPECT_EQ(XferArticleLine("I,2" + std::string(41, ',') + "9"), kResultLineSyntaxError);
}

TEST_F(UploadSim, OFilePercentOfTwoDigitsIsWholeExceptForKindSix) {
  ASSERT_EQ(XferOFileLine("I,1,3,,,,,,,,,,'A',,,,12"), 0);
  ASSERT_EQ(XferOFileLine("I,2,6,,,,,,,,,,'B',,,,12"), 0);
  EXPECT_EQ(Reg().records.oFile.at(1).back(), 0x00);
  EXPECT_EQ(Reg().records.oFile.at(1).end()[-2], 0x12);
  EXPECT_EQ(Reg().records.oFile.at(2).end()[-2], 0x00);
  EXPECT_EQ(Reg().records.oFile.at(2).back(), 0x12);
  const std::string listing = ecrsim::RunControlLine(host_.sim, "records 1 ofile");
  EXPECT_EQ(listing.substr(0, 4) + listing.substr(listing.find("\n2 "), 5), "1 03\n2 06");
  EXPECT_EQ(XferOFileLine("I,3,3,1A"), kResultNotNumericField);
  EXPECT_EQ(XferOFileLine("C,3,3"), kResultCommandFieldInvalid);
  EXPECT_EQ(XferOFileLine("M,9,3"), RecordRefusal(6));
}

TEST_F(UploadSim, AFileLoadsLineByLineAndLogsOnlyItsFailures) {
  // A comment, a bad operation, a quoted text with two blanks and a ';', a
  // register refusal, and a last line without its line end.
  WriteData("; articles\r\nI,1,PEN\r\n,2,CAP\r\nI,3,'A  B;C'\r\nI,1,PEN\r\nI,4,INK");
  EXPECT_EQ(Upload("ua"), kResultTransferErrors);
  EXPECT_EQ(Reg().records.articles.size(), 3u);
  const auto log = Log();
  ASSERT_EQ(log.size(), 2u);
  EXPECT_NE(log[0].find("in line 3"), std::string::npos);
  EXPECT_NE(log[1].find("in line 5"), std::string::npos);
  std::string text;
  FormatResultText(text, kResultTransferErrors);
  EXPECT_NE(text.find("2 Errors   1 ECR-Errors"), std::string::npos);
  EXPECT_EQ(ecrsim::RunControlLine(host_.sim, "record 1 article 30303030303030303030303320").substr(0, 14),
            "412020423B4320");
  EXPECT_EQ(host_.progressTexts.size(), 5u);  // the comment reports nothing

  // Stopped by the host after the second line.
  host_.progressTexts.clear();
  host_.onProgress = [](int call, int* abort) { *abort = call == 2; };
  WriteData("I,5,A\r\nI,6,B\r\nI,7,C\r\n");
  EXPECT_EQ(Upload("UA"), 0);
  EXPECT_EQ(Reg().records.articles.count({'0', '0', '0', '0', '0', '0', '0', '0', '0', '0', '0', '7', ' '}),
            0u);
}

TEST_F(UploadSim, ARefusedResetReadsNoLine) {
  ASSERT_EQ(XferArticleLine("I,1,PEN"), 0);
  WriteData("I,2,CAP\r\n");
  Reg().oFileResetStatus = 1;
  EXPECT_EQ(Upload("UO", ", AZZERA"), kResultArticlesResetError);
  Reg().articleResetStatus = 1;
  EXPECT_EQ(Upload("UA", ", AZZERA"), kResultArticlesResetError);
  EXPECT_EQ(Reg().records.articles.size(), 1u);
  Reg().articleResetStatus = 0;
  EXPECT_EQ(Upload("UA", ", AZZERA"), 0);
  EXPECT_EQ(Reg().records.articles.size(), 1u);  // only the file's article
  EXPECT_EQ(Upload("UA", ", FILE='" + Path("missing.txt") + "'"), kResultDataFileOpenError);
}

// Separated-value lines of a download, each led by "I", rebuild the file in
// an emptied register: text codes and numeric codes.
TEST_F(UploadSim, DownloadedArticlesLoadBackIntoAnEmptyFile) {
  for (const bool numericCodes : {false, true}) {
    if (numericCodes) {
      Reg().EditConfig().SetNumber(ecrsim::Area::FileInfo, 15, 1, 0x04);
      ASSERT_EQ(Run("SELEZIONA CASSA=1"), 0);
      Reg().records = {};
    }
    ASSERT_EQ(
        Run("ARTICOLO CODICE=123, DESCRIZ='PEN', NUMERO1=7, CLASSE='1D', CIFRA=3, PREZZO1=1.5, VALORE4=42"),
        0);
    ASSERT_EQ(Run("ARTICOLO CODICE=45, DESCRIZ='INK, ''BLUE''', CLASSE=5, PREZZO3=12"), 0);
    const auto stored = Reg().records.articles;
    ASSERT_EQ(Run("TRASFER MODO='DA', FILE='" + Path("down.txt") + "'"), 0);
    std::ifstream down(Path("down.txt"));
    std::string lines;
    for (std::string line; std::getline(down, line);) lines += "I," + line + "\n";
    WriteData(lines);
    ASSERT_EQ(Upload("UA", ", AZZERA"), 0) << lines << Log()[0];
    EXPECT_EQ(Reg().records.articles, stored) << lines;
  }
}

}  // namespace
}  // namespace quadrel
