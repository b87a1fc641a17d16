// The frames command 14 sends to the displays at once, and command 74's walk
// back to idle, against the scripted host.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "commands/session/reset_to_idle.h"
#include "definition_text.h"
#include "link/ecr_readiness.h"
#include "run_line.h"
#include "translator_fixture.h"

namespace quadrel {
namespace {

using quadrel_test::Bytes;
using quadrel_test::bytes;
using quadrel_test::status_answer;
using quadrel_test::status_idle;

std::vector<std::uint32_t> pauses;
void RecordPause(std::uint32_t ms) {
  pauses.push_back(ms);
}

Bytes Display(int code, const std::string& text) {
  Bytes frame = bytes({'O', code});
  frame.insert(frame.end(), text.begin(), text.end());
  return frame;
}

class DisplayAndReset : public test_support::WithShippedDefinitions<TranslatorTest> {
 protected:
  void SetUp() override {
    TranslatorTest::SetUp();
    EcrRecord(1).EcrNumber = 1;
    EcrRecord(1).TextWidthA = 3;
    EcrRecord(1).TextWidthB = 4;
    EcrRecord(1).FeatureLevels[99] = 1;
    pauses.clear();
    SetResetToIdlePause(RecordPause);
  }
  void TearDown() override {
    SetResetToIdlePause(nullptr);
    TranslatorTest::TearDown();
  }
  void ExpectDisplay(const Bytes& frame) { host.expect(frame).answer(0, bytes({'O'})); }
  int Run(const std::string& line) { return test_support::RunLine(line); }
};

TEST_F(DisplayAndReset, DisplayLinesAreSentAtOnceAndTheTwoLineDisplayKeepsTheOtherLine) {
  host.expect("S").answer(0, status_idle());
  ExpectDisplay(Display(1, "ABC"));
  ExpectDisplay(Display(4, "XY  "));
  ExpectDisplay(Display(9, std::string("XY  ") + std::string(4, '\0')));
  ExpectDisplay(bytes({'O', 10, 12}));
  EXPECT_EQ(Run("VISORE RIGAA1='ABCD', RIGAB1='XY', LARGO, OPZIONE"), 0);

  // The next #8 shows beside the #7 line kept from before.
  host.expect("S").answer(0, status_idle());
  ExpectDisplay(Display(5, "LONG"));
  ExpectDisplay(Display(9, "XY  LONG"));
  EXPECT_EQ(Run("VISORE RIGAB2='LONGER', LARGO"), 0);
  EXPECT_EQ(host.pending(), 0);
}

TEST_F(DisplayAndReset, TwoLineTextsContinueOnTheSecondLine) {
  host.expect("S").answer(0, status_idle());
  ExpectDisplay(Display(9, "ABCDEF  "));
  ExpectDisplay(bytes({'O', 10, 12}));
  ExpectDisplay(Display(6, "GH      "));  // without a wide-text host: frame 6
  EXPECT_EQ(Run("VISORE SCRITTA='ABCDEF', AVVISO='GH', OPZIONE"), 0);

  host.info().wideText = 1;
  host.expect("S").answer(0, status_idle());
  ExpectDisplay(Display(9, "GH      "));
  EXPECT_EQ(Run("VISORE AVVISO='GH'"), 0);
  EXPECT_EQ(host.pending(), 0);
}

TEST_F(DisplayAndReset, AFailedDisplayFrameEndsTheCommandWithItsError) {
  host.expect("S").answer(0, status_idle());
  host.expect("O").answer(8, bytes({'O', 3}));
  EXPECT_EQ(Run("VISORE TESTO1='T', RIGAA1='A', RIGAA2='B'"), 0x800 | 3);
  EXPECT_EQ(host.pending(), 0);  // nothing after the failed frame, the text line not sent
}

struct ResetRow {
  const char* state;
  std::vector<std::pair<Bytes, Bytes>> exchanges;  // frame -> answer
  int result;
  std::size_t pauses;
};

TEST_F(DisplayAndReset, ResetToIdleLeavesEachStateItsOwnWay) {
  const Bytes S = bytes({'S'});
  const std::vector<ResetRow> rows = {
      {"idle", {{S, status_idle()}}, 0, 0},
      {"critical, cleared",
       {{S, status_answer(0x04, 5)},
        {bytes({'A', 0}), status_idle()},
        {S, status_idle()},
        {S, status_idle()}},
       0,
       1},
      {"blocked 43",
       {{S, status_answer(0x04, 43)},
        {bytes({'A', 0}), status_answer(0x04, 43)},
        {S, status_answer(0x04, 43)}},
       1025,
       0},
      {"blocked 22",
       {{S, status_answer(0x04, 22)}, {bytes({'A', 0}), status_idle()}, {S, status_answer(0x05, 22)}},
       1026,
       0},
      {"pending key", {{S, status_answer(0x08)}, {bytes({'A', 0}), status_idle()}, {S, status_idle()}}, 0, 1},
      {"entry outside a transaction", {{S, status_answer(0x41)}, {bytes({'A', 0}), status_idle()}}, 0, 0},
      {"entry inside a transaction",
       {{S, status_answer(0x41, 0, 0x01)},
        {bytes({'A', ':'}), status_idle()},
        {bytes({'A', 145}), status_idle()}},
       1027,
       0},
      {"in payment",
       {{S, status_answer(0x42, 0, 0x21)}, {bytes({'A', '1'}), status_idle()}, {S, status_idle()}},
       0,
       1},
      {"after subtotal",
       {{S, status_answer(0x60, 0, 0x21)}, {bytes({'A', '1'}), status_idle()}, {S, status_idle()}},
       0,
       1},
      {"sale open",
       {{S, status_answer(0x02, 0, 0x01)},
        {bytes({'A', ':'}), status_idle()},
        {bytes({'A', 145}), status_idle()}},
       1027,
       0},
  };
  for (const ResetRow& row : rows) {
    SCOPED_TRACE(row.state);
    pauses.clear();
    for (const auto& [frame, answer] : row.exchanges) host.expect(frame).answer(0, answer);
    EXPECT_EQ(Run("RIPRISTINA"), row.result);
    EXPECT_EQ(pauses.size(), row.pauses);
    EXPECT_EQ(host.pending(), 0);
  }
}

TEST_F(DisplayAndReset, ResetToIdleNeedsNoSelectedRegisterAndNoReadinessCheck) {
  SelectedEcr() = 0;
  host.status_default(0, HOST_STATUS_NOT_READY);
  host.expect("S").answer(0, status_idle());
  EXPECT_EQ(Run("RIPRISTINA"), 0);
  EXPECT_TRUE(host.status_calls().empty());
}

TEST_F(DisplayAndReset, ResetToIdleGivesUpAfterFiveAttempts) {
  for (int attempt = 0; attempt < kResetAttempts; ++attempt) host.expect("S").answer(4, {}, 9);
  EXPECT_EQ(Run("RIPRISTINA"), 512);
  EXPECT_EQ(pauses, std::vector<std::uint32_t>(kResetAttempts - 1, kResetPauseMs));
}

}  // namespace
}  // namespace quadrel
