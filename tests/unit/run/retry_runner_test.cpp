#include "run/retry_runner.h"

#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <string>

#include "link/ecr_state_fields.h"
#include "retry_fixture.h"
#include "run/retry_policy.h"

using namespace quadrel;
using quadrel_test::bytes;
using quadrel_test::Bytes;
using quadrel_test::status_idle;

namespace {

bool Traced(const quadrel_test::FakeHost& host, const std::string& text) {
  for (const auto& trace : host.traces())
    if (trace.text == text) return true;
  return false;
}

int CountTraces(const quadrel_test::FakeHost& host, const std::string& text) {
  int count = 0;
  for (const auto& trace : host.traces()) count += trace.text == text;
  return count;
}

TEST(RetryPolicyTest, IsFinalFailureTruthTable) {
  struct Case {
    int code;
    bool retry8, retry16;
    int expected;  // with retries left
  } cases[] = {
      {27, true, true, 1},       {257, true, true, 1},      {515, true, true, 1},
      {1024, false, false, 1},   {1024, true, false, 0},    {1024, false, true, 0},
      {1024 + 5, true, true, 0}, {2055, false, false, 1},   {2055, true, false, 0},
      {2055, false, true, 1},    {2050, true, true, 1},     {4096 + 22, false, false, 1},
      {4096 + 22, true, false, 1}, {4096 + 22, false, true, 0}, {65536 + 'T', true, true, 1},
      {0x2000 | 1, true, true, 1},
  };
  for (const Case& c : cases) {
    Library().switches.RetryOn8XXX = c.retry8;
    Library().switches.RetryOn16XXX = c.retry16;
    EXPECT_EQ(IsFinalFailure(c.code, 2), c.expected)
        << c.code << " with 8XXX " << c.retry8 << " 16XXX " << c.retry16;
    EXPECT_EQ(IsFinalFailure(c.code, 0), 1) << "no retries left: always final, " << c.code;
  }
}

// A line that fails the same way on every attempt, and how often it runs
// under each pair of switches.
TEST_F(RetryTest, EveryClassUnderBothSwitchesRunsAsOftenAsThePolicySays) {
  struct Failure {
    const char* name;
    int code;
    bool counted_as_ecr;
    std::function<void()> script;  // one failing attempt's frames
  };
  const Failure failures[] = {
      {"no register", 27, false, [] {}},
      {"syntax", 0x100 | 1, false, [] {}},
      {"host link", 512 + 3, true,
       [this] { host.expect("S").answer(1, {}, 3); }},
      {"critical", 1024, true, [this] { ExpectLineCritical(); }},
      {"data 8/7", 2055, true,
       [this] { host.expect("S").answer(8, bytes({'S', 7})); }},
      {"data 8/2", 2050, true,
       [this] { host.expect("S").answer(8, bytes({'S', 2})); }},
      {"answer letter", 0x10000 | 'T', false,
       [this] { host.expect("S").answer(0, bytes({'T', 1})); }},
  };
  struct Switches {
    bool retry8, retry16;
  };
  for (const Switches sw : {Switches{false, false}, Switches{true, false}, Switches{false, true},
                            Switches{true, true}}) {
    for (const Failure& f : failures) {
      Library().switches.RetryOn8XXX = sw.retry8;
      Library().switches.RetryOn16XXX = sw.retry16;
      SelectedEcr() = f.code == 27 ? 0 : 1;
      Executor().ErrorCount = Executor().EcrErrorCount = 0;
      const bool retried = (f.code == 1024 && (sw.retry8 || sw.retry16)) ||
                           (f.code == 2055 && sw.retry8);
      const int attempts = retried ? 3 : 1;
      for (int attempt = 1; attempt <= attempts; ++attempt) {
        f.script();
        // The register's state is read only when the critical state is retried.
        if (f.code == 1024 && retried) ExpectStateRead(5);
        if (attempt < attempts) ExpectClearTwice();
      }
      const std::string line = f.code == (0x100 | 1) ? "NOSUCHINSTRUCTION" : "#4";
      const std::string what = std::string(f.name) + " with 8XXX " +
                               std::to_string(sw.retry8) + " 16XXX " + std::to_string(sw.retry16);
      EXPECT_EQ(TradExecWithRetry(line, nullptr), f.code) << what;
      EXPECT_EQ(host.pending(), 0) << what;
      // Counted once, on the final attempt, in the counter of its kind.
      EXPECT_EQ(Executor().EcrErrorCount, f.counted_as_ecr ? 1 : 0) << what;
      EXPECT_EQ(Executor().ErrorCount, f.counted_as_ecr ? 0 : 1) << what;
    }
  }
  EXPECT_TRUE(pauses().empty()) << "no pause outside a batch";
}

TEST_F(RetryTest, DataError87RunsThreeTimesWithTwoClearsAfterEachOfTheFirstTwo) {
  for (int attempt = 1; attempt <= 3; ++attempt) {
    host.expect("S").answer(8, bytes({'S', 7}));
    if (attempt < 3) ExpectClearTwice();
  }
  EXPECT_EQ(TradExecWithRetry("#4", nullptr), 2055);
  EXPECT_EQ(CountTraces(host, "Data Error  8/7 Retry"), 3);
  EXPECT_EQ(CountTraces(host, "#4"), 3);  // each attempt traces its line
  EXPECT_EQ(host.traces().front().level, 3);
}

TEST_F(RetryTest, ASuccessfulRetryEndsTheLineWithoutCountingTheEarlierFailure) {
  host.expect("S").answer(8, bytes({'S', 7}));
  ExpectClearTwice();
  ExpectLineOk();
  EXPECT_EQ(TradExecWithRetry("#4", nullptr), 0);
  EXPECT_EQ(Executor().EcrErrorCount, 0);
  EXPECT_EQ(Executor().ErrorCount, 0);
}

TEST_F(RetryTest, CriticalCodes22And43AreAddedToTheResultOthersAreNot) {
  for (const int critical : {22, 43, 5}) {
    for (int attempt = 1; attempt <= 3; ++attempt) {
      ExpectLineCritical();
      ExpectStateRead(critical);
      if (attempt < 3) ExpectClearTwice();
    }
    const int expected = critical == 5 ? 1024 : 1024 + critical;
    EXPECT_EQ(TradExecWithRetry("#4", nullptr), expected) << critical;
    EXPECT_TRUE(Traced(host, "Errore critico = " + std::to_string(critical) + " ")) << critical;
  }
  EXPECT_TRUE(Traced(host, "Critical error 4/xxx Retry"));
  EXPECT_TRUE(Traced(host, "Leggo errore critico comando C11"));
  // The state fields themselves are traced before the verdict.
  EXPECT_TRUE(Traced(host, "0,0,22,0,0,0,0,0"));
}

TEST_F(RetryTest, ARecoveredRegisterIsTracedAndTheLineRunsAgain) {
  ExpectLineCritical();
  ExpectStateRead(0);
  ExpectClearTwice();
  ExpectLineOk();
  EXPECT_EQ(TradExecWithRetry("#4", nullptr), 0);
  EXPECT_TRUE(Traced(host, "Errore critico recuperato"));
}

TEST_F(RetryTest, AFailedStateReadAddsNothingAndStillRetries) {
  ExpectLineCritical();
  host.expect("C").answer(1, {}, 9);
  ExpectClearTwice();
  ExpectLineOk();
  EXPECT_EQ(TradExecWithRetry("#4", nullptr), 0);
  EXPECT_FALSE(Traced(host, "Errore critico recuperato"));
}

// ---- cover modes ----

class CoverModeTest : public RetryTest {
 protected:
  void Mode(int mode, bool inBatch) {
    Library().switches.CoverOpenPaperEmptyMode = mode;
    Executor().InBatch = inBatch ? 1 : 0;
  }
  // One attempt that meets a persistent critical state.
  void ExpectCriticalAttempt(bool clearsAfter) {
    ExpectLineCritical();
    ExpectStateRead(7);
    if (clearsAfter) ExpectClearTwice();
  }
};

TEST_F(CoverModeTest, OutsideABatchEveryModeTriesThreeTimesWithoutPausing) {
  for (const int mode : {1, 2, 3}) {
    Mode(mode, false);
    ExpectCriticalAttempt(true);
    ExpectCriticalAttempt(true);
    ExpectCriticalAttempt(false);
    EXPECT_EQ(TradExecWithRetry("#4", nullptr), 1024) << mode;
    EXPECT_EQ(BatchRun().StopBatch, 0) << mode;
  }
  EXPECT_TRUE(pauses().empty());
  EXPECT_TRUE(host.progress_calls().empty());
}

TEST_F(CoverModeTest, Mode1RepeatsTheLineEveryFiveSecondsUntilTheStateClears) {
  Mode(1, true);
  for (int attempt = 1; attempt <= 4; ++attempt) ExpectCriticalAttempt(true);
  ExpectLineOk();
  EXPECT_EQ(TradExecWithRetry("#4", nullptr), 0);
  EXPECT_EQ(pauses(), std::vector<std::uint32_t>(4, 5000));
  // Between retries the user sees why and may stop.
  ASSERT_EQ(host.progress_calls().size(), 4u);
  EXPECT_EQ(host.progress_calls()[0].text, "Errore critico = 7 ");
  EXPECT_EQ(Executor().EcrErrorCount, 0);
}

TEST_F(CoverModeTest, Mode1StopsWhenTheUserAbortsAndCountsTheFailure) {
  Mode(1, true);
  host.abort_progress_at(2);
  ExpectCriticalAttempt(true);
  ExpectCriticalAttempt(true);
  EXPECT_EQ(TradExecWithRetry("#4", nullptr), 1024);
  EXPECT_EQ(BatchRun().abortIndicator, 1);
  EXPECT_EQ(BatchRun().StopBatch, 1);
  EXPECT_EQ(Executor().EcrErrorCount, 1);
}

TEST_F(CoverModeTest, Mode1GivesUpAfterTenMinutesWhenNobodyAnswersTheProgress) {
  Mode(1, true);
  for (int round = 1; round <= kCoverRetryRounds; ++round) ExpectCriticalAttempt(true);
  EXPECT_EQ(TradExecWithRetry("#4", nullptr), 1024);
  EXPECT_EQ(pauses().size(), static_cast<std::size_t>(kCoverRetryRounds));
  EXPECT_EQ(BatchRun().StopBatch, 1);
  EXPECT_EQ(Executor().EcrErrorCount, 1);
}

TEST_F(CoverModeTest, Mode1WithoutAProgressCallbackEndsTheBatchAfterThreeAttempts) {
  Mode(1, true);
  Library().host.progress = nullptr;
  ExpectCriticalAttempt(true);
  ExpectCriticalAttempt(true);
  ExpectCriticalAttempt(false);
  EXPECT_EQ(TradExecWithRetry("#4", nullptr), 1024);
  EXPECT_EQ(BatchRun().StopBatch, 1);
  EXPECT_EQ(Executor().EcrErrorCount, 1);
}

TEST_F(CoverModeTest, Mode2PausesBetweenThreeAttemptsThenStopsTheBatch) {
  Mode(2, true);
  ExpectCriticalAttempt(true);
  ExpectCriticalAttempt(true);
  ExpectCriticalAttempt(false);
  EXPECT_EQ(TradExecWithRetry("#4", nullptr), 1024);
  EXPECT_EQ(pauses().size(), 3u);
  EXPECT_EQ(BatchRun().StopBatch, 1);
  EXPECT_EQ(Executor().EcrErrorCount, 1);
}

TEST_F(CoverModeTest, Mode3InABatchTriesOnceWithoutPauseOrClear) {
  Mode(3, true);
  ExpectCriticalAttempt(false);
  EXPECT_EQ(TradExecWithRetry("#4", nullptr), 1024);
  EXPECT_TRUE(pauses().empty());
  EXPECT_EQ(BatchRun().StopBatch, 0);
  EXPECT_EQ(Executor().EcrErrorCount, 1);
}

// ---- the state fields ----

TEST_F(RetryTest, StateFieldsOfAFullAnswer) {
  Bytes answer(38, 0);
  answer[0] = 'C';
  answer[1] = 0x08;  // critical error signalled
  answer[2] = 22;
  answer[3] = 0x03;  // transaction open (bit 0)
  answer[7] = 3;
  answer[8] = 12;
  for (int i = 0; i < 4; ++i) answer[9 + i] = std::array<int, 4>{0x00, 0x01, 0x23, 0x45}[i];
  answer[15] = 0xD0;  // minus
  answer[16] = 0x05;
  answer[22] = 0x12;
  answer[23] = 0x34;
  answer[24] = 0x56;
  for (int i = 0; i < 5; ++i) answer[31 + i] = std::array<int, 5>{0x24, 0x12, 0x31, 0x23, 0x59}[i];
  answer[37] = 7;
  host.expect(bytes({'C', 11})).answer(0, answer);
  std::string text = "x";
  int error = -1;
  ASSERT_TRUE(ReadEcrStateFields(text, error));
  EXPECT_EQ(text, "x12,1,22,3,12345,-5,'24/12/31 23:59',7,0,123456");
  EXPECT_EQ(StateAnswerCriticalCode(), 22);

  // A short answer has no clock, and without the critical bits no code.
  answer.resize(25);
  answer[1] = 0x01;
  host.expect(bytes({'C', 11})).answer(0, answer);
  text.clear();
  ASSERT_TRUE(ReadEcrStateFields(text, error));
  EXPECT_EQ(text, "12,1,0,3,12345,-5,0,123456");
  EXPECT_EQ(StateAnswerCriticalCode(), 0);

  host.expect(bytes({'C', 11})).answer(2, {}, 4);
  text = "kept";
  EXPECT_FALSE(ReadEcrStateFields(text, error));
  EXPECT_EQ(text, "kept");
  EXPECT_EQ(error, 512 + 4);
}

}  // namespace
