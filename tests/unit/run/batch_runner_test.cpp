#include "run/batch_runner.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "exports/ecr_cmd.h"
#include "exports/ecr_conf_exports.h"
#include "file_text.h"
#include "retry_fixture.h"

using namespace quadrel;
using quadrel_test::bytes;
using quadrel_test::status_idle;
namespace fs = std::filesystem;

namespace {

class BatchTest : public RetryTest {
 protected:
  void SetUp() override {
    RetryTest::SetUp();
    Library().switches.AutoSlaveOnBatch = false;
    dir = fs::temp_directory_path() /
          ("quadrel_batch_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(dir);
    fs::create_directories(dir);
  }
  void TearDown() override {
    fs::remove_all(dir);
    RetryTest::TearDown();
  }

  std::string Write(const std::string& name, const std::string& content) {
    const fs::path path = dir / name;
    std::ofstream(path, std::ios::binary) << content;
    return path.string();
  }
  std::string Path(const std::string& name) const { return (dir / name).string(); }

  int Run(const std::string& line) { return EcrCommand(line, text); }

  void ExpectFailingLine() { host.expect("S").answer(1, {}, 3); }  // 515, not retried

  std::vector<std::string> ProgressTexts() const {
    std::vector<std::string> texts;
    for (const auto& call : host.progress_calls()) texts.push_back(call.text);
    return texts;
  }

  fs::path dir;
  std::string text;
};

::testing::AssertionResult IsSummary(const std::string& text, const std::string& head, int lines) {
  const std::string prefix = head + "(" + std::to_string(lines) + " Lines   ";
  const std::string tail = " msec)";
  if (text.rfind(prefix, 0) == 0 && text.size() > prefix.size() + tail.size() &&
      text.compare(text.size() - tail.size(), tail.size(), tail) == 0)
    return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "\"" << text << "\" is not " << prefix << "N msec)";
}

TEST_F(BatchTest, CommentsOnlyEndWithOkAndZeroLines) {
  const std::string batch = Write("b.txt", "; only a comment\r\n\r\n   ; another\r\n");
  EXPECT_EQ(Run("@" + batch), 0);
  EXPECT_TRUE(IsSummary(text, "OK.", 0));
  EXPECT_TRUE(host.progress_calls().empty());
}

TEST_F(BatchTest, AFailingLineIsReportedAndTheBatchGoesOn) {
  const std::string batch = Write("b.txt", "#4\r\n#4\r\n#4\r\n");
  ExpectLineOk();
  ExpectFailingLine();
  ExpectLineOk();
  EXPECT_EQ(Run("@" + batch + "," + Path("r.txt")), 14);
  EXPECT_EQ(text, "ERROR 0/14 : ERRORS DURING EXECUTION OF FILE");
  EXPECT_EQ(quadrel_test::FileText(Path("r.txt")), "ERROR 2/3 in line 2 : I/O ERROR 3\r\n");
  EXPECT_FALSE(fs::exists(Path("r.txt.tmp")));
  // Each line's progress text is its own: nothing piles up from earlier lines.
  EXPECT_EQ(ProgressTexts(), (std::vector<std::string>{"OK.", "ERROR 2/3 in line 2 : I/O ERROR 3", "OK."}));
}

TEST_F(BatchTest, StopBatchOnErrorEndsAfterTheFailingLine) {
  Library().options.StopBatchOnError = 1;
  const std::string batch = Write("b.txt", "#4\r\n#4\r\n#4\r\n");
  ExpectLineOk();
  ExpectFailingLine();
  EXPECT_EQ(Run("@" + batch), 14);
  EXPECT_EQ(host.frames().size(), 2u);
}

TEST_F(BatchTest, AUserAbortStopsAfterTheCurrentLine) {
  const std::string batch = Write("b.txt", "#4\r\n#4\r\n#4\r\n");
  host.abort_progress_at(2);
  ExpectLineOk();
  ExpectLineOk();
  EXPECT_EQ(Run("@" + batch), 0);
  EXPECT_TRUE(IsSummary(text, "OK. *** ABORTED BY USER *** ", 2));
}

TEST_F(BatchTest, ALineThatFailedAfterTheUserStoppedEndlessRetriesIsNoSuccess) {
  Library().switches.CoverOpenPaperEmptyMode = 1;
  host.abort_progress_at(1);
  const std::string batch = Write("b.txt", "#4\r\n#4\r\n");
  ExpectLineCritical();
  ExpectStateRead(9);
  ExpectClearTwice();
  EXPECT_EQ(Run("@" + batch), 14);
  EXPECT_EQ(pauses().size(), 1u);
}

TEST_F(BatchTest, Mode2EndsTheBatchAfterTheThirdCriticalAttempt) {
  Library().switches.CoverOpenPaperEmptyMode = 2;
  const std::string batch = Write("b.txt", "#4\r\n#4\r\n");
  for (int attempt = 1; attempt <= 3; ++attempt) {
    ExpectLineCritical();
    ExpectStateRead(9);
    if (attempt < 3) ExpectClearTwice();
  }
  EXPECT_EQ(Run("@" + batch), 14);
  EXPECT_EQ(BatchRun().executedLines, 1);
}

TEST_F(BatchTest, Mode3GoesOnWithTheNextLine) {
  Library().switches.CoverOpenPaperEmptyMode = 3;
  const std::string batch = Write("b.txt", "#4\r\n#4\r\n");
  ExpectLineCritical();
  ExpectStateRead(9);
  ExpectLineOk();
  EXPECT_EQ(Run("@" + batch), 14);
  EXPECT_EQ(BatchRun().executedLines, 2);
  EXPECT_TRUE(pauses().empty());
}

TEST_F(BatchTest, AMissingBatchFileGives11) {
  EXPECT_EQ(Run("@" + Path("missing.txt")), 11);
  EXPECT_EQ(text, "ERROR 0/11 : FILE OPEN ERROR");
}

TEST_F(BatchTest, AResultFileThatCannotBeCreatedGives12AndRunsNothing) {
  Library().switches.AutoSlaveOnBatch = true;
  const std::string batch = Write("b.txt", "#4\r\n");
  EXPECT_EQ(Run("@" + batch + "," + Path("no/such/folder/r.txt")), 12);
  EXPECT_EQ(text, "ERROR 0/12 : ERROR FILE OPEN ERROR");
  EXPECT_TRUE(host.frames().empty());
}

// Watches the result file from inside the batch: the old file is gone at the
// start and the new one appears only when the batch is over.
struct ResultFileWatch {
  static inline std::string result;
  static inline std::vector<bool> seen;
  static void QUADREL_CALL Progress(int, int, int, const char*, int*) {
    seen.push_back(fs::exists(result) || !fs::exists(result + ".tmp"));
  }
};

TEST_F(BatchTest, TheResultFileIsReplacedOnlyAtTheEnd) {
  const std::string batch = Write("b.txt", "#4\r\n#4\r\n");
  ResultFileWatch::result = Write("r.txt", "old results\r\n");
  ResultFileWatch::seen.clear();
  Library().host.progress = &ResultFileWatch::Progress;
  ExpectFailingLine();
  ExpectLineOk();
  EXPECT_EQ(Run("@" + batch + "," + ResultFileWatch::result), 14);
  EXPECT_EQ(ResultFileWatch::seen, (std::vector<bool>{false, false}));
  EXPECT_EQ(quadrel_test::FileText(ResultFileWatch::result), "ERROR 2/3 in line 1 : I/O ERROR 3\r\n");
  EXPECT_FALSE(fs::exists(ResultFileWatch::result + ".tmp"));
}

TEST_F(BatchTest, TheLastLineWithoutALineFeedStillRuns) {
  const std::string batch = Write("b.txt", "#4\r\n#4");
  ExpectLineOk();
  ExpectLineOk();
  EXPECT_EQ(Run("@" + batch), 0);
  EXPECT_TRUE(IsSummary(text, "OK.", 2));
}

TEST_F(BatchTest, ANestedBatchRequestIsRefusedWith10AndTheBatchGoesOn) {
  const std::string inner = Write("inner.txt", "#4\r\n");
  const std::string batch = Write("b.txt", "@" + inner + "\r\n#4\r\n");
  ExpectLineOk();
  EXPECT_EQ(Run("@" + batch + "," + Path("r.txt")), 14);
  EXPECT_EQ(quadrel_test::FileText(Path("r.txt")), "ERROR 0/10 in line 1 : INVALID BATCH LINE \r\n");
}

TEST_F(BatchTest, EchoReportsEachLineBeforeAndAfterItRuns) {
  Library().batchEcho = true;
  const std::string batch = Write("b.txt", "; header\n#4\n");
  ExpectLineOk();
  EXPECT_EQ(Run("@" + batch), 0);
  ASSERT_EQ(host.progress_calls().size(), 3u);
  EXPECT_EQ(host.progress_calls()[0].text, ">; header");
  EXPECT_EQ(host.progress_calls()[1].text, ">#4");
  EXPECT_EQ(host.progress_calls()[1].count, 2);
  EXPECT_EQ(host.progress_calls()[2].text, "OK.");
  // Lines ending in a bare line feed would count past the file's size.
  EXPECT_EQ(host.progress_calls()[2].percent, 100);
}

TEST_F(BatchTest, SlaveModeIsSwitchedOnAroundTheBatch) {
  Library().switches.AutoSlaveOnBatch = true;
  const std::string batch = Write("b.txt", "#4\r\n");
  // "#29 #1=1" before the lines and "#29 #2=1" after them.
  ExpectSlaveMode(1);
  ExpectLineOk();
  ExpectSlaveMode(0);
  EXPECT_EQ(Run("@" + batch), 0);
  EXPECT_EQ(host.pending(), 0);
}

TEST_F(BatchTest, ThePercentageOfAFileOver21MegabytesDoesNotOverflow) {
  const std::string filler = "; " + std::string(1996, 'x') + "\r\n";  // 2000 bytes a line
  std::string content;
  const int fillerLines = 11000;  // 22 MB
  content.reserve(static_cast<std::size_t>(fillerLines) * filler.size() + 16);
  for (int i = 0; i < fillerLines; ++i) {
    content += filler;
    if (i == fillerLines / 2) content += "#4\r\n";
  }
  content += "#4\r\n";
  const std::string batch = Write("big.txt", content);
  ExpectLineOk();
  ExpectLineOk();
  EXPECT_EQ(Run("@" + batch), 0);
  ASSERT_EQ(host.progress_calls().size(), 2u);
  EXPECT_EQ(host.progress_calls()[0].percent, 50);
  EXPECT_EQ(host.progress_calls()[1].percent, 100);
}

// ---- the export ----

TEST_F(BatchTest, EcrCmdReturnsTheTextOfASingleLine) {
  char buffer[300];
  ExpectLineOk();
  EXPECT_EQ(EcrCmd("#4", buffer), 0);
  EXPECT_STREQ(buffer, "OK.");
  EXPECT_EQ(EcrCmd("; nothing", buffer), 0);
  EXPECT_STREQ(buffer, "OK.");
  EXPECT_EQ(EcrCmd(nullptr, buffer), 0);
  EXPECT_EQ(EcrCmd("NOSUCHINSTRUCTION", buffer), 257);
  EXPECT_STREQ(buffer, "ERROR 1/1 : SINTAX ERROR 1 : INSTRUCTION NOT FOUND");
  // Traced: the line, its text and the code in hexadecimal.
  const auto& traces = host.traces();
  ASSERT_GE(traces.size(), 3u);
  EXPECT_EQ(traces[traces.size() - 1].text, "101");
  EXPECT_EQ(traces[traces.size() - 2].text, buffer);
  EXPECT_EQ(traces[traces.size() - 3].text, "NOSUCHINSTRUCTION");
}

TEST_F(BatchTest, EcrCmdNeverWritesMoreThan256Bytes) {
  Reply().PendingMessage = {std::string(400, 'm'), true};
  char buffer[512];
  std::memset(buffer, '#', sizeof buffer);
  ExpectLineOk();
  EXPECT_EQ(EcrCmd("#4", buffer), 0);
  EXPECT_EQ(std::strlen(buffer), 255u);
  EXPECT_EQ(buffer[256], '#');
}

struct ReentryProbe {
  static inline int code = -99;
  static inline std::string text;
  static void QUADREL_CALL Progress(int, int, int, const char*, int*) {
    char buffer[256];
    code = EcrCmd("#4", buffer);
    text = buffer;
  }
};

TEST_F(BatchTest, EcrCmdEnteredFromItsOwnProgressCallbackIsRefused) {
  const std::string batch = Write("b.txt", "#4\r\n#4\r\n");
  Library().host.progress = &ReentryProbe::Progress;
  ExpectLineOk();
  ExpectFailingLine();
  char buffer[256];
  EXPECT_EQ(EcrCmd(("@" + batch + "," + Path("r.txt")).c_str(), buffer), 14);
  EXPECT_EQ(ReentryProbe::code, 19);
  EXPECT_EQ(ReentryProbe::text, "ERROR 0/19 : SO BUSY");
  // The refusal did not take the running batch's line mark.
  EXPECT_EQ(quadrel_test::FileText(Path("r.txt")), "ERROR 2/3 in line 2 : I/O ERROR 3\r\n");
}

struct ConfigProbe {
  static inline int value = 0;
  static void QUADREL_CALL Progress(int, int, int, const char*, int*) {
    value = GetEcrConfVal(kAmountBytesItem);
  }
  static constexpr std::uint32_t kAmountBytesItem = 14;
};

TEST_F(BatchTest, ConfigurationExportsAreRefusedWhileEcrCmdRuns) {
  EcrRecord(1).EcrNumber = 1;  // a cached record: the item needs no frame
  ASSERT_EQ(GetEcrConfVal(ConfigProbe::kAmountBytesItem), EcrRecord(1).AmountBytes);
  const std::string batch = Write("b.txt", "#4\r\n");
  Library().host.progress = &ConfigProbe::Progress;
  ExpectLineOk();
  char buffer[256];
  EXPECT_EQ(EcrCmd(("@" + batch).c_str(), buffer), 0);
  EXPECT_EQ(ConfigProbe::value, -1);
  EXPECT_EQ(GetEcrConfVal(ConfigProbe::kAmountBytesItem), EcrRecord(1).AmountBytes);
}

}  // namespace
