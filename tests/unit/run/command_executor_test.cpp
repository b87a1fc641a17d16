#include "run/command_executor.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "definition_text.h"
#include "language/definition_file.h"
#include "language/definition_tables.h"
#include "link/ecr_readiness.h"
#include "state/transfer_state.h"
#include "translator_fixture.h"

using namespace quadrel;
using quadrel_test::bytes;
using quadrel_test::status_answer;
using quadrel_test::status_idle;

namespace {

constexpr const char* kDefinitions = R"([OPCOD]
1=APRI
4=NULLA
5=SELEZIONA
6=SEI
8=CANCELLA
9=TASTO
10=VENDI
11=PAGA
22=STAMPA
28=USCITA
30=TRASFER
31=REPARTO
42=QUARANTA
48=OPZIONI
51=ARTICOLO
71=INFO
74=RESET
77=HOSTTOT
130=OLTRE
[22]
1=RIGA
3=CODICE
8=BARRE
10=MODULO
[28]
7=CASSA
[30]
1=MODO
2=FILE
[71]
1=TIPO
[74]
1=MODO
)";

constexpr int kNotSupported = 268;

class ExecutorTest : public TranslatorTest {
 protected:
  static void SetUpTestSuite() {
    // A file of this process's own: ctest runs test cases in parallel processes.
    ASSERT_TRUE(quadrel::test_support::LoadDefinitionText(kDefinitions));
  }
  static void TearDownTestSuite() { ClearDefinitionTables(); }
  void SetUp() override {
    TranslatorTest::SetUp();
    Library().switches.AlwayMaxSpeedFP = false;
  }
  // The line reached its handler: LastCommand is set only at dispatch.
  int Dispatched() const { return Executor().LastCommand; }
};

TEST_F(ExecutorTest, LineLengthIsCheckedFirst) {
  std::string line = "#4 ;" + std::string(2042, 'x');
  ASSERT_EQ(line.size(), 2046u);
  host.expect("S").answer(0, status_idle());
  EXPECT_EQ(TradExecCommand(line), 0);

  line += 'x';
  EXPECT_EQ(TradExecCommand(line), 274);
  Library().initialised = false;
  EXPECT_EQ(TradExecCommand(line), 274);  // before "not initialised"
  EXPECT_EQ(TradExecCommand("#4"), 2);
}

TEST_F(ExecutorTest, EmptyAndCommentLines) {
  EXPECT_EQ(TradExecCommand(""), -2);
  EXPECT_EQ(TradExecCommand("   ; just a note"), -2);
  EXPECT_TRUE(host.frames().empty());
}

TEST_F(ExecutorTest, EveryLineStartsWithAnEmptyQueue) {
  KeyBatch().Append('A');
  KeyBatch().EndKeyRecord();
  EXPECT_EQ(TradExecCommand("; nothing"), -2);
  EXPECT_EQ(KeyBatch().Count(), 0);
}

TEST_F(ExecutorTest, BatchRequests) {
  EXPECT_EQ(TradExecCommand("@jobs.txt"), -1);
  EXPECT_EQ(Executor().BatchFileName, "jobs.txt");
  EXPECT_EQ(Executor().ResultFileName, "");
  EXPECT_EQ(Executor().TempResultFileName, "");

  EXPECT_EQ(TradExecCommand("@jobs.txt, out.txt, third"), -1);
  EXPECT_EQ(Executor().ResultFileName, "out.txt");
  EXPECT_EQ(Executor().TempResultFileName, "out.txt.tmp");
  EXPECT_EQ(Executor().ThirdName, "third");

  EXPECT_EQ(TradExecCommand("@"), 10);
  Executor().InBatch = 1;
  EXPECT_EQ(TradExecCommand("@jobs.txt"), 10);
  EXPECT_TRUE(host.frames().empty());
}

TEST_F(ExecutorTest, ParserFailuresAreSyntaxClassResults) {
  EXPECT_EQ(TradExecCommand("NOSUCH"), 0x100 | 1);
  EXPECT_EQ(TradExecCommand("#22 NOFIELD=1"), 0x100 | 4);
  EXPECT_EQ(Dispatched(), 0);
}

TEST_F(ExecutorTest, NumbersWithoutHandlerGive268AfterTheChecks) {
  host.expect("S").answer(0, status_idle());
  EXPECT_EQ(TradExecCommand("SEI"), kNotSupported);  // keyword defined for number 6
  EXPECT_EQ(Dispatched(), 6);
  host.expect("S").answer(0, status_idle());
  EXPECT_EQ(TradExecCommand("#130"), kNotSupported);
  host.expect("S").answer(0, status_idle());
  EXPECT_EQ(TradExecCommand("NULLA"), 0);  // command 4 does nothing and succeeds
}

TEST_F(ExecutorTest, ProgrammingCommandsNeedTheSession) {
  EXPECT_EQ(TradExecCommand("#31"), 7);
  EXPECT_EQ(TradExecCommand("#42"), 7);
  Executor().ProgSessionState = 1;
  host.expect("S").answer(0, status_idle());
  EXPECT_EQ(TradExecCommand("#42"), kNotSupported);
  EXPECT_EQ(Dispatched(), 42);
}

TEST_F(ExecutorTest, NoSelectedRegisterGives27) {
  SelectedEcr() = 0;
  EXPECT_EQ(TradExecCommand("#10"), 27);
  EXPECT_EQ(Dispatched(), 0);
  EXPECT_TRUE(host.frames().empty());
  EXPECT_TRUE(host.status_calls().empty());
}

TEST_F(ExecutorTest, ExemptCommandsRunWithoutRegisterOrStatusChecks) {
  SelectedEcr() = 0;
  host.status_default(0, HOST_STATUS_NOT_READY);
  const struct {
    const char* line;
    int command;
  } exempt[] = {{"#5", 5},
                {"#48", 48},
                {"#22 #3=12, #8=2, #10=9", 22},  // refused before it sends a frame
                {"#28 #7=2", 28},
                {"#71", 71},
                {"#71 #1=0", 71}};  // 74: display_and_reset_test
  for (const auto& e : exempt) {
    Executor().LastCommand = 0;
    TradExecCommand(e.line);
    EXPECT_EQ(Dispatched(), e.command) << e.line;
  }
  EXPECT_TRUE(host.frames().empty());
  EXPECT_TRUE(host.status_calls().empty());

  for (const char* checked : {"#71 #1=3", "#22 #1=1", "#28", "#74 #1=2"}) {
    Executor().LastCommand = 0;
    EXPECT_EQ(TradExecCommand(checked), 27) << checked;
    EXPECT_EQ(Dispatched(), 0) << checked;
  }
}

TEST_F(ExecutorTest, CheckedCommandGetsReadinessAndStatusFrameBeforeItsHandler) {
  SelectedEcr() = 1;
  host.expect("S").answer(0, status_idle());
  EXPECT_EQ(TradExecCommand("#4"), 0);
  EXPECT_EQ(Dispatched(), 4);
  EXPECT_EQ(host.status_calls().size(), 1u);
}

TEST_F(ExecutorTest, DeviceTypeDecidesTheHostCommands) {
  host.info().protocolType = quadrel_test::kProtocolHostOnly;
  EXPECT_EQ(TradExecCommand("#10"), kNotSupported);
  EXPECT_EQ(Dispatched(), 0);
  EXPECT_EQ(TradExecCommand("#5"), kNotSupported);  // exempt commands too
  SelectedEcr() = 0;
  TradExecCommand("#77");
  EXPECT_EQ(Dispatched(), 77);  // without any register check

  host.info().protocolType = quadrel_test::kProtocolMultiEcr;
  Executor().LastCommand = 0;
  EXPECT_EQ(TradExecCommand("#77"), kNotSupported);
  EXPECT_EQ(Dispatched(), 0);

  Library().host.info = nullptr;
  TradExecCommand("#77");
  EXPECT_EQ(Dispatched(), 77);
  EXPECT_TRUE(host.frames().empty());
}

TEST_F(ExecutorTest, BroadcastModeRunsOnlyTheFileTransfer) {
  Library().broadcastMode = true;
  EXPECT_EQ(TradExecCommand("#10"), 27);
  EXPECT_EQ(Dispatched(), 0);
  // No configuration read in broadcast mode: the unread record has no information frames.
  EXPECT_EQ(TradExecCommand("TRASFER  MODO='DA', FILE='x.txt' ; note"), kResultEmBoardNotInitialised);
  EXPECT_EQ(Dispatched(), 30);
  EXPECT_EQ(Transfer().CommandText, "MODO='DA', FILE='x.txt'");
  EXPECT_TRUE(host.frames().empty());
  EXPECT_TRUE(host.broadcasts().empty());
}

TEST_F(ExecutorTest, ArticleCommandsSkipReadinessAndStatus) {
  host.status_default(0, HOST_STATUS_NOT_READY);
  TradExecCommand("#51");
  EXPECT_EQ(Dispatched(), 51);
  EXPECT_TRUE(host.frames().empty());
  EXPECT_TRUE(host.status_calls().empty());
}

TEST_F(ExecutorTest, SalesCommandsSkipTheStatusFrameWhenSwitchedTo) {
  Library().switches.AlwayMaxSpeedFP = true;
  TradExecCommand("#10");
  EXPECT_EQ(Dispatched(), 10);
  TradExecCommand("#11");
  EXPECT_EQ(Dispatched(), 11);
  EXPECT_TRUE(host.frames().empty());

  Library().switches.AlwayMaxSpeedFP = false;
  Library().options.SkipStatusForSales = 1;
  TradExecCommand("#10");
  EXPECT_TRUE(host.frames().empty());

  Library().options.SkipStatusForSales = 0;
  host.expect("S").answer(0, status_idle());
  TradExecCommand("#10");
  EXPECT_EQ(host.frame_bytes(), std::vector<quadrel_test::Bytes>{bytes({'S'})});

  // Other commands always get it.
  Library().switches.AlwayMaxSpeedFP = true;
  host.expect("S").answer(0, status_idle());
  TradExecCommand("#9");
  EXPECT_EQ(host.frames().size(), 2u);
}

TEST_F(ExecutorTest, StatusFrameFailureIsReturnedBeforeTheHandler) {
  host.expect("S").answer(1, {}, 3);
  EXPECT_EQ(TradExecCommand("#10"), 512 + 3);
  EXPECT_EQ(Dispatched(), 0);
  host.expect("S").answer(0, bytes({'T'}));
  EXPECT_EQ(TradExecCommand("#10"), 0x10000 | 'T');
}

TEST_F(ExecutorTest, ConfirmationRequestStopsAllButClearAndKeys) {
  Library().options.StopOnConfirm = 1;
  host.expect("S").answer(0, status_answer(1, 0, 0, 1, 1));
  EXPECT_EQ(TradExecCommand("#10"), 32);
  EXPECT_EQ(Dispatched(), 0);
  for (const char* line : {"#8", "#9"}) {
    host.expect("S").answer(0, status_answer(1, 0, 0, 1, 1));
    TradExecCommand(line);
    EXPECT_NE(Dispatched(), 0) << line;
  }
  Library().options.StopOnConfirm = 0;
  host.expect("S").answer(0, status_answer(1, 0, 0, 1, 1));
  TradExecCommand("#10");
  EXPECT_EQ(Dispatched(), 10);
}

TEST_F(ExecutorTest, DispatchClearsStopOnRecordError) {
  Executor().StopOnRecordError = 1;
  host.expect("S").answer(0, status_idle());
  TradExecCommand("#4");
  EXPECT_EQ(Executor().StopOnRecordError, 0);
}

TEST_F(ExecutorTest, ReadinessCheckOfTheHost) {
  host.status_answers({{3, 0}});
  EXPECT_EQ(TradExecCommand("#10"), 512 + 3);

  host.status_answers({{0, HOST_STATUS_NOT_READY}});
  EXPECT_EQ(TradExecCommand("#10"), 1024);
  EXPECT_EQ(host.status_calls().size(), 2u);

  // About to be ready: polled until it is.
  host.status_answers({{0, HOST_STATUS_NOT_READY | HOST_STATUS_ALMOST_READY},
                       {0, HOST_STATUS_NOT_READY | HOST_STATUS_ALMOST_READY},
                       {0, 0}});
  host.expect("S").answer(0, status_idle());
  TradExecCommand("#10");
  EXPECT_EQ(Dispatched(), 10);
  EXPECT_EQ(host.status_calls().size(), 5u);
  EXPECT_EQ(host.status_calls()[3].mode, 0);

  // Stays "about to be ready": one ask and eleven polls, then 1024.
  host.status_default(0, HOST_STATUS_NOT_READY | HOST_STATUS_ALMOST_READY);
  EXPECT_EQ(TradExecCommand("#10"), 1024);
  EXPECT_EQ(host.status_calls().size(), 5u + 12u);

  // Without a status function nothing is asked.
  host.info().status = nullptr;
  host.expect("S").answer(0, status_idle());
  TradExecCommand("#10");
  EXPECT_EQ(host.status_calls().size(), 17u);
}

TEST_F(ExecutorTest, WaitReadyModeWaitsAndTheUserAbortGives1024) {
  Library().options.WaitReadyMode = 1;
  host.status_default(0, HOST_STATUS_NOT_READY);
  host.abort_progress_at(2);
  EXPECT_EQ(TradExecCommand("#10"), 1024);
  EXPECT_EQ(host.progress_calls().size(), 2u);

  host.status_default(0, 0);
  host.status_answers({{0, HOST_STATUS_NOT_READY}});
  host.abort_progress_at(0);
  host.expect("S").answer(0, status_idle());
  TradExecCommand("#10");
  EXPECT_EQ(Dispatched(), 10);
}

using WaitEcrReadyTest = TranslatorTest;

TEST_F(WaitEcrReadyTest, ReadyOrNotAskedToWait) {
  EXPECT_EQ(WaitEcrReady(1), 0);
  host.status_default(0, HOST_STATUS_NOT_READY);
  EXPECT_EQ(WaitEcrReady(0), 0);
  EXPECT_TRUE(host.progress_calls().empty());
  host.status_answers({{5, 0}});
  EXPECT_EQ(WaitEcrReady(1), 512 + 5);
  host.status_answers({{-1, 0}});
  EXPECT_EQ(WaitEcrReady(1), 512 + 255);
}

TEST_F(WaitEcrReadyTest, ProgressCallbackAbortEndsTheWait) {
  CurrentEcr() = 2;
  IntMsgTable().SetRow(kMsgWaitReady, "WAITING FOR ECR");
  host.status_default(0, HOST_STATUS_NOT_READY);
  host.abort_progress_at(3);
  EXPECT_EQ(WaitEcrReady(1), kWaitEcrReadyStopped);
  ASSERT_EQ(host.progress_calls().size(), 3u);
  EXPECT_EQ(host.progress_calls()[0].ecr, 2);
  EXPECT_EQ(host.progress_calls()[0].text, "WAITING FOR ECR");
  EXPECT_EQ(host.status_calls().size(), 3u);
  IntMsgTable().SetRow(kMsgWaitReady, "");
}

TEST_F(WaitEcrReadyTest, BecomesReadyWhileWaiting) {
  host.status_answers({{0, HOST_STATUS_NOT_READY}, {0, HOST_STATUS_NOT_READY}, {0, 0}});
  EXPECT_EQ(WaitEcrReady(1), 0);
  EXPECT_EQ(host.progress_calls().size(), 2u);
  host.status_answers({{0, HOST_STATUS_NOT_READY}, {7, 0}});
  EXPECT_EQ(WaitEcrReady(1), 512 + 7);
}

TEST_F(WaitEcrReadyTest, BusyRegisterWithoutAbortTimesOut) {
  Library().host.progress = nullptr;  // no way for the user to stop it
  host.status_default(0, HOST_STATUS_NOT_READY);
  EXPECT_EQ(WaitEcrReady(1, 350), 1024);
  EXPECT_GE(host.status_calls().size(), 3u);
  EXPECT_LE(host.status_calls().size(), 6u);
}

}  // namespace
