// Command 72 against the scripted host: the parameter rules, the 'O' 15
// frame, the walk over the 'O' 16 blocks into the capture file, and the key
// records and settings of the keyboard way.
#include "commands/journal/journal_read.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "commands/journal/journal_direct_read.h"
#include "commands/journal/journal_text.h"
#include "definition_text.h"
#include "file_text.h"
#include "files/capture_file.h"
#include "interfaces/host_info.h"
#include "interfaces/translator_exports.h"
#include "language/result_codes.h"
#include "run/command_executor.h"
#include "run_line.h"
#include "translator_fixture.h"

namespace quadrel {
namespace {

using quadrel_test::Bytes;
using quadrel_test::bytes;
using quadrel_test::status_answer;
using quadrel_test::status_idle;

namespace fs = std::filesystem;

class JournalRead : public test_support::WithShippedDefinitions<TranslatorTest> {
 protected:
  void SetUp() override {
    TranslatorTest::SetUp();
    EcrRecord(1).EcrNumber = 1;  // configuration in the cache
    EcrRecord(1).FeatureLevels[kFeatureJournalRead] = 2;
    EcrRecord(1).PrintWidth = 5;
    file_ = fs::temp_directory_path() / ("quadrel-journal-" + std::to_string(getpid()) + ".txt");
  }
  void TearDown() override {
    TranslatorTest::TearDown();
    fs::remove(file_);
  }

  // Runs a line as EcrCmd does; its status frame is scripted first (Status).
  int Run(const std::string& line) { return test_support::RunLine(line); }
  void Status() { host.expect("S").answer(0, status_idle()); }
  std::string Written() const { return quadrel_test::FileText(file_); }
  // An 'O' 16 answer: status byte then the text.
  static Bytes Block(int status, const std::string& text) {
    Bytes answer = {'O', static_cast<std::uint8_t>(status)};
    answer.insert(answer.end(), text.begin(), text.end());
    return answer;
  }
  void ExpectSelect(const Bytes& frame) { host.expect(frame).answer(0, bytes({'O', 0})); }
  std::string Out() const { return ", #6='" + file_.string() + "'"; }

  fs::path file_;
};

TEST_F(JournalRead, ParameterRulesAnswerBeforeAnyFrame) {
  struct Case {
    const char* fields;
    int code;
  };
  const Case cases[] = {
      {"#1=0112, #13", 265},                     // a date of four digits
      {"#2=010124, #13", 265},                   // a to date without a from date
      {"#1=010124, #3=5, #4=4, #13", 265},       // documents backwards
      {"#1=010124, #5, #13", 5},                 // second family only by keyboard
      {"#1=010124, #10=12, #13", 265},           // a time of two digits
      {"#1=010124, #12, #13", 5},                // times only by keyboard
      {"#1=010124, #14=256, #13", 265},          //
      {"#1=010124, #17=4, #13", 265},            //
      {"#18=0, #13", 265},                       //
      {"#18=10000, #13", 265},                   //
      {"#18=5, #19=4, #13", 265},                //
      {"#1=010124, #18=5, #13", 265},            // dates and closures together
      {"#13", 265},                              // neither
      {"#18=5", 5},                              // closures need the direct read
      {"#1=010124, #2=020124, #3=1, #13", 259},  // documents across two days
      {"#18=5, #19=6, #4=3, #13", 259},          // documents across two closures
      {"#1=010124, #12, #8", 259},               //
  };
  for (const Case& c : cases) {
    Status();
    EXPECT_EQ(Run(std::string("#72 ") + c.fields), c.code) << c.fields;
  }
  EcrRecord(1).FeatureLevels[kFeatureJournalRead] = 1;
  Status();
  EXPECT_EQ(Run("#72 #18=5, #13"), 5) << "closures need level 2";
  EcrRecord(1).FeatureLevels[kFeatureJournalRead] = 0;
  Status();
  EXPECT_EQ(Run("#72 #1=010124, #13"), 5) << "the direct read needs level 1";
  EXPECT_EQ(host.pending(), 0);
}

TEST_F(JournalRead, ARegisterNotIdleIsRefusedWith6) {
  host.expect("S").answer(0, status_answer(1, 0, 0x20));
  EXPECT_EQ(Run("#72 #1=010124, #13"), 6);
}

TEST_F(JournalRead, TheSelectFrameCarriesDatesOrClosuresInBcd) {
  Status();
  ExpectSelect(bytes({'O',  15,   0xFB, 2 * 2 + 1, 0x31, 0x12, 0x24, 0x08, 0x30, 0,
                      0x00, 0x07, 0x31, 0x12,      0x24, 0x23, 0x59, 0,    0x00, 0x09}));
  host.expect(bytes({'O', 16})).answer(0, Block(0xFF, ""));
  EXPECT_EQ(Run("#72 #1=311224, #3=7, #4=9, #7, #10=0830, #13, #15, #17=2"), 0);
  // Closures: selection from #14 when no bit clears, option 0x80.
  Status();
  ExpectSelect(bytes({'O', 15, 0x42, 0x80, 0, 0x00, 0x12, 0, 0, 0, 0, 0, 0, 0x01, 0x34, 0, 0, 0, 0, 0}));
  host.expect(bytes({'O', 16})).answer(0, Block(0xFF, ""));
  EXPECT_EQ(Run("#72 #18=12, #19=134, #13=2, #14=66"), 0);  // 2 sets a switch too
  // #8 and #9 clear their bits of 0xFF.
  Status();
  ExpectSelect(
      bytes({'O', 15, 0xCF, 0, 0x01, 0x01, 0x24, 0, 0, 0, 0, 0, 0x01, 0x01, 0x24, 0x23, 0x59, 0, 0, 0}));
  host.expect(bytes({'O', 16})).answer(0, Block(0xFF, ""));
  EXPECT_EQ(Run("#72 #1=010124, #8, #9, #13"), 0);
}

TEST_F(JournalRead, BlocksBecomeLinesWithEscapesFormFeedsAndSplits) {
  Status();
  ExpectSelect(
      bytes({'O', 15, 0, 0, 0x01, 0x01, 0x24, 0, 0, 0, 0, 0, 0x01, 0x01, 0x24, 0x23, 0x59, 0, 0, 0}));
  host.expect(bytes({'O', 16})).answer(0, Block(0, "RECE\x1b\x03X\nTOT"));  // a line continued
  host.expect(bytes({'O', 16})).answer(0, Block(0, "AL 1,00\n\x0c\x1b"));   // an escape at the end
  host.expect(bytes({'O', 16})).answer(0, Block(0xFF, "\x02Y\n"));          // its count comes next
  EXPECT_EQ(Run("#72 #1=010124, #13, #16" + Out()), 0);
  EXPECT_EQ(Written(), "RECE   X\r\nTOTAL 1,00\r\n=====\r\n  Y\r\n");
  EXPECT_FALSE(CaptureFile().file.IsOpen());
  ASSERT_EQ(host.progress_calls().size(), 3u);
  EXPECT_EQ(host.progress_calls()[2].count, 3);
  EXPECT_EQ(host.progress_calls()[2].text, "OK.");
  EXPECT_TRUE(Reply().TransferStats.set);
  EXPECT_EQ(Reply().TransferStats.lines, 3);
}

TEST_F(JournalRead, ALineWithoutLineFeedsIsWrittenInBoundedPieces) {
  Status();
  host.expect("O").answer(0, bytes({'O', 0}));
  const std::string chunk(400, 'x');
  for (int i = 0; i < 2; ++i) host.expect(bytes({'O', 16})).answer(0, Block(0, chunk));
  host.expect(bytes({'O', 16})).answer(0, Block(0xFF, chunk + "\x1b\xff\n"));
  EXPECT_EQ(Run("#72 #1=010124, #13" + Out()), 0);
  const std::string all = std::string(1200, 'x') + std::string(255, ' ');
  EXPECT_EQ(Written(),
            all.substr(0, kMaxJournalLineBytes) + "\r\n" + all.substr(kMaxJournalLineBytes) + "\r\n");
}

TEST_F(JournalRead, TheLastLineNeedsNoLineFeedBeforeTheEnd) {
  Status();
  host.expect("O").answer(0, bytes({'O', 0}));
  host.expect(bytes({'O', 16})).answer(0, Block(0xFF, "A\nTOTAL"));
  EXPECT_EQ(Run("#72 #1=010124, #13" + Out()), 0);
  EXPECT_EQ(Written(), "A\r\nTOTAL\r\n");
}

// Blocks without a line feed still report progress, so the host can stop
// them, and a register that sends nothing else is given up.
TEST_F(JournalRead, BlocksWithoutLineFeedsReportProgressAndEndAtTheLimit) {
  host.abort_progress_at(3);
  Status();
  host.expect("O").answer(0, bytes({'O', 0}));
  for (int i = 0; i < 3; ++i) host.expect(bytes({'O', 16})).answer(0, Block(0, "x"));
  EXPECT_EQ(Run("#72 #1=010124, #13" + Out()), 0);
  EXPECT_EQ(host.progress_calls().size(), 3u);

  host.abort_progress_at(0);
  Status();
  host.expect("O").answer(0, bytes({'O', 0}));
  for (int i = 0; i < kMaxBlocksWithoutLineFeed; ++i) host.expect(bytes({'O', 16})).answer(0, Block(0, "x"));
  EXPECT_EQ(Run("#72 #1=010124, #13" + Out()), kResultConfigReadError);
  EXPECT_EQ(host.pending(), 0);
}

TEST_F(JournalRead, TheHostStopsTheReadAfterTheBlockItAbortsIn) {
  host.abort_progress_at(2);
  Status();
  host.expect("O").answer(0, bytes({'O', 0}));
  host.expect(bytes({'O', 16})).answer(0, Block(0, "A\nB\nC\n"));
  EXPECT_EQ(Run("#72 #1=010124, #13" + Out()), 0);
  EXPECT_EQ(Written(), "A\r\nB\r\nC\r\n");
}

TEST_F(JournalRead, RefusalsCloseTheFileAndKeepItsLines) {
  Status();
  host.expect("O").answer(0, bytes({'O', 3}));
  EXPECT_EQ(Run("#72 #1=010124, #13" + Out()), 4096 + 3);
  Status();
  host.expect("O").answer(0, bytes({'O', 0}));
  host.expect(bytes({'O', 16})).answer(0, Block(0, "A\n"));
  host.expect(bytes({'O', 16})).answer(0, Block(7, "B\n"));
  EXPECT_EQ(Run("#72 #1=010124, #13" + Out()), 4096 + 7);
  EXPECT_EQ(Written(), "A\r\n");
  EXPECT_FALSE(CaptureFile().file.IsOpen());
  Status();
  host.expect("O").answer(8, bytes({'O', 5}));  // the register does not know the frame
  EXPECT_EQ(Run("#72 #1=010124, #13"), 5);
}

TEST_F(JournalRead, AFileThatCannotBeCreatedAnswers11) {
  Status();
  EXPECT_EQ(Run("#72 #1=010124, #13, #6='" + (file_ / "no" / "such").string() + "'"), 11);
  EXPECT_EQ(host.pending(), 0);
}

// A full disk: /dev/full takes the lines and fails them when they are flushed.
TEST_F(JournalRead, AJournalTheFileDidNotTakeAnswers11) {
  Status();
  host.expect("O").answer(0, bytes({'O', 0}));
  host.expect(bytes({'O', 16})).answer(0, Block(0xFF, "A\n"));
  EXPECT_EQ(Run("#72 #1=010124, #13, #6='/dev/full'"), kResultBatchFileOpenError);
}

// ---- keyboard way ----

TEST_F(JournalRead, WithoutAFileOnlyTheReportKeysAreQueued) {
  const std::vector<Bytes> keys = {
      bytes({'A', 0, 0, 4, 14}),
      bytes({'A', 1, 7, 10, 0x91}),            // report 170
      bytes({'A', 10, 1, 10, 1, 2, 4, 0x91}),  // from date 010124
      bytes({'A', 10, 1, 10, 1, 2, 4, 0x91}),  // to date
      bytes({'A', 3, 0x91}),
      bytes({'A', 5, 0x91}),  // documents of one day
      bytes({'A', 0, 0, 1, 14}),
  };
  Status();
  for (const Bytes& key : keys) host.expect(key).answer(0, status_idle());
  EXPECT_EQ(Run("#72 #1=010124, #3=3, #4=5"), 0);
  EXPECT_TRUE(host.services().empty());
}

TEST_F(JournalRead, ReportNumbersFollowTheFlagsTheLaterRuleWinning) {
  struct Case {
    const char* flags;
    Bytes digits;
  };
  const Case cases[] = {{"#5", bytes({1, 6, 10})},         {"#5, #12", bytes({1, 6, 6})},
                        {"#5, #12, #7", bytes({1, 6, 7})}, {"#5, #7, #8", bytes({1, 6, 2})},
                        {"#12", bytes({1, 7, 7})},         {"#12, #7", bytes({1, 7, 1})},
                        {"#8, #9", bytes({1, 7, 3})}};
  for (const Case& c : cases) {
    host.expect("S").answer(0, status_idle());
    ASSERT_EQ(TradExecCommand(std::string("#72 #1=010124, #2=020124, ") + c.flags), 0) << c.flags;
    const KeyRecord& report = KeyBatch().Record(1);
    EXPECT_EQ(Bytes(report.data.begin() + 1, report.data.begin() + 4), c.digits) << c.flags;
  }
}

TEST_F(JournalRead, TheEchoIsSwitchedOnForTheFileAndOffAfterTheBatch) {
  const Bytes settings = bytes({'C', 1, 2, 3, 0, 5, 6, 7, 8, 9});
  Status();
  host.expect(bytes({'C', 3})).answer(0, settings);
  host.expect(bytes({'C', 3, 1, 2, 3, 1, 5, 6, 7, 8, 9})).answer(0, bytes({'C'}));
  for (int i = 0; i < 5; ++i) host.expect("A").answer(0, status_idle());
  host.expect(bytes({'C', 3})).answer(0, bytes({'C', 1, 2, 3, 1, 5, 6, 7, 8, 9}));
  host.expect(bytes({'C', 3, 1, 2, 3, 0, 5, 6, 7, 8, 9})).answer(0, bytes({'C'}));
  EXPECT_EQ(Run("#72 #1=010124, #2=020124, #7" + Out()), 0);
  ASSERT_FALSE(host.services().empty());
  EXPECT_EQ(host.services()[0].request, ECRIO_ECHO_ON);
  EXPECT_FALSE(CaptureFile().file.IsOpen());
  EXPECT_TRUE(fs::exists(file_));
}

TEST_F(JournalRead, EchoLinesArriveThroughTheEventExportWhileTheKeysAreSent) {
  CaptureFile().keepLines = 1;  // left by an earlier command: this one keeps every line
  Status();
  host.expect(bytes({'C', 3})).answer(0, bytes({'C', 1, 2, 3, 1, 5, 6, 7, 8, 9}));
  const Bytes idle = status_idle();
  for (const char* line : {"", "JOURNAL", "RECEIPT 1", "TOTAL 2,00", ""}) {
    host.expect("A").answer(0, idle).meanwhile([line] {
      if (*line == 0) return;
      const std::string echo = line;
      EXPECT_EQ(Trad_DCXEvent(1, reinterpret_cast<const unsigned char*>(echo.data()),
                              static_cast<int>(echo.size())),
                echo);
    });
  }
  EXPECT_EQ(Run("#72 #1=010124, #2=020124, #7" + Out()), 0);
  EXPECT_EQ(Written(), "JOURNAL\r\nRECEIPT 1\r\nTOTAL 2,00\r\n");
  EXPECT_EQ(EcrStatusBytes().state & 1, 1) << "the answers were not disturbed";
  // An echo after the batch finds no file and changes nothing.
  EXPECT_STREQ(Trad_DCXEvent(1, reinterpret_cast<const unsigned char*>("LATE"), 4), "LATE");
  EXPECT_EQ(Written(), "JOURNAL\r\nRECEIPT 1\r\nTOTAL 2,00\r\n");
}

TEST_F(JournalRead, AnEchoAlreadyOnIsLeftAsItIs) {
  Status();
  host.expect(bytes({'C', 3})).answer(0, bytes({'C', 1, 2, 3, 1, 5, 6, 7, 8, 9}));
  for (int i = 0; i < 5; ++i) host.expect("A").answer(0, status_idle());
  EXPECT_EQ(Run("#72 #1=010124, #2=020124, #7" + Out()), 0);
  EXPECT_EQ(host.pending(), 0);
}

}  // namespace
}  // namespace quadrel
