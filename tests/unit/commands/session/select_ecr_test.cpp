// Command 5 (SELEZIONA) with the definitions file we ship: local selection,
// broadcast to every register, and dial-up and network connections through
// the host's services, with their failures and the user's abort.
#include "commands/session/select_ecr.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "definition_text.h"
#include "language/definition_file.h"
#include "language/definition_tables.h"
#include "run/command_executor.h"
#include "run/key_batch_sender.h"
#include "sim_host.h"
#include "translator_fixture.h"

namespace quadrel {
namespace {

using quadrel_test::Bytes;
using quadrel_test::bytes;
using quadrel_test::status_idle;

const std::string kShippedFile = test_support::ShippedDefinitionsPath();

// What the host saw of one connection service request.
struct ConnectionRequest {
  int request = 0;
  int progressArgument = -1;
  std::string target;
  std::intptr_t length = -1;
  std::int32_t timeOut = -1;
};

// Stands before the fake host: answers the connection services itself and
// hands everything else on.
struct ConnectionHost {
  static inline std::vector<ConnectionRequest> requests;
  static inline int connectResult = 0;
  static inline std::int32_t connectStatus = 0;
  static inline bool abortWhileConnecting = false;

  static int QUADREL_CALL IO(int request, int mode, void* a, void* b, void* c, void* d, void* e) {
    ConnectionRequest seen;
    seen.request = request;
    switch (request) {
      case ECRIO_CONNECT:
      case ECRIO_CONNECT_TIMEOUT: {
        seen.progressArgument = mode;
        seen.length = reinterpret_cast<std::intptr_t>(b);
        seen.target.assign(static_cast<const char*>(a), static_cast<std::size_t>(seen.length));
        seen.timeOut = *static_cast<std::int32_t*>(d);
        requests.push_back(seen);
        if (abortWhileConnecting) {
          // The user presses stop in the host's progress window.
          int abort = 0;
          ProgressRelay(1, 10, &abort);
          if (abort == 1) {
            *static_cast<std::int32_t*>(e) = -1;
            return 1;
          }
        }
        *static_cast<std::int32_t*>(e) = connectStatus;
        return connectResult;
      }
      case ECRIO_DISCONNECT:
      case ECRIO_HANGUP:
        EXPECT_EQ(a, nullptr);
        EXPECT_EQ(d, nullptr);
        EXPECT_NE(e, nullptr);
        requests.push_back(seen);
        return 0;
      default:
        return quadrel_test::FakeHost::io()(request, mode, a, b, c, d, e);
    }
  }
};

class SelectEcr : public TranslatorTest {
 protected:
  static void SetUpTestSuite() { ASSERT_TRUE(LoadDefinitionFile(kShippedFile)); }
  static void TearDownTestSuite() { ClearDefinitionTables(); }
  void SetUp() override {
    TranslatorTest::SetUp();
    Library().host.hostIO = &ConnectionHost::IO;
    ConnectionHost::requests.clear();
    ConnectionHost::connectResult = 0;
    ConnectionHost::connectStatus = 0;
    ConnectionHost::abortWhileConnecting = false;
    pauses().clear();
    SetSelectEcrPause(&RecordPause);
  }
  void TearDown() override {
    SetSelectEcrPause(nullptr);
    TranslatorTest::TearDown();
  }

  // Register `ecr`'s configuration is in the cache.
  static void Cached(int ecr) {
    EcrRecord(ecr).EcrNumber = ecr;
    EcrRecord(ecr).PrintWidth = 30 + ecr;
  }
  static std::vector<int> Requests() {
    std::vector<int> numbers;
    for (const ConnectionRequest& r : ConnectionHost::requests) numbers.push_back(r.request);
    return numbers;
  }
  static void ExpectNothingSelected() {
    EXPECT_EQ(SelectedEcr(), 0);
    EXPECT_EQ(CurrentEcr(), 0);
    EXPECT_EQ(&CurrentRecord(), &EcrRecord(0));
  }

  static std::vector<std::uint32_t>& pauses() {
    static std::vector<std::uint32_t> recorded;
    return recorded;
  }
  static void RecordPause(std::uint32_t ms) { pauses().push_back(ms); }
};

// ---- local registers ----

TEST_F(SelectEcr, ACachedRegisterIsSelectedWithoutAFrame) {
  Cached(3);
  Executor().ProgSessionState = 1;
  Library().progFunctionKeyed = true;
  EXPECT_EQ(TradExecCommand("SELEZIONA CASSA=3, CACHE"), 0);
  EXPECT_EQ(SelectedEcr(), 3);
  EXPECT_EQ(CurrentEcr(), 3);
  EXPECT_EQ(CurrentRecord().PrintWidth, 33);
  EXPECT_EQ(EcrRecord(0).EcrNumber, 3);  // the empty default slot takes a copy
  EXPECT_EQ(Executor().ProgSessionState, 0);
  EXPECT_FALSE(Library().progFunctionKeyed);
  EXPECT_EQ(Executor().StopOnRecordError, 1);
  EXPECT_TRUE(host.frames().empty());
  EXPECT_TRUE(pauses().empty());

  Cached(4);
  EXPECT_EQ(TradExecCommand("SELEZIONA CASSA=4, CACHE"), 0);
  EXPECT_EQ(EcrRecord(0).EcrNumber, 3);  // a valid default slot stays
}

TEST_F(SelectEcr, WithoutTheCacheFlagTheConfigurationIsReadAgain) {
  Cached(2);
  host.expect("T").answer(1, {}, 3);  // the read starts again, and fails
  EXPECT_EQ(TradExecCommand("SELEZIONA CASSA=2"), 4);
  EXPECT_EQ(EcrRecord(2).EcrNumber, 0);
  // A register whose configuration could not be read is not left selected.
  ExpectNothingSelected();
  EXPECT_EQ(TradExecCommand("CANCELLA"), 27);
}

TEST_F(SelectEcr, AHostStatusFailureIsReturnedAndSelectsNothing) {
  host.status_answers({{6, 0}});
  EXPECT_EQ(TradExecCommand("SELEZIONA CASSA=5"), 512 + 6);
  ExpectNothingSelected();
  EXPECT_TRUE(host.frames().empty());
}

TEST_F(SelectEcr, NumbersOutsideTheRegistersAreRefusedBeforeAnythingChanges) {
  Executor().ProgSessionState = 1;
  Library().broadcastMode = false;
  for (const char* line :
       {"SELEZIONA CASSA=25", "SELEZIONA CASSA=-1", "SELEZIONA CASSA=0", "SELEZIONA", "SELEZIONA CASSA",
        "SELEZIONA CASSA='2x'", "SELEZIONA CASSA=99999999999", "SELEZIONA CASSA=1.5"}) {
    EXPECT_EQ(TradExecCommand(line), 275) << line;
    EXPECT_EQ(SelectedEcr(), 1) << line;
    EXPECT_EQ(CurrentEcr(), 1) << line;
    EXPECT_EQ(&CurrentRecord(), &EcrRecord(1)) << line;
    EXPECT_EQ(Executor().ProgSessionState, 1) << line;
  }
  EXPECT_TRUE(host.frames().empty());
  EXPECT_TRUE(host.status_calls().empty());
  Library().TradFlags = TRADF_MULTI_ECR;
  EXPECT_EQ(TradExecCommand("SELEZIONA CASSA=25"), 275);
}

// ---- broadcast ----

TEST_F(SelectEcr, Register0OnAMultiRegisterHostSendsToEveryRegister) {
  Library().TradFlags = TRADF_MULTI_ECR;
  EXPECT_EQ(TradExecCommand("SELEZIONA CASSA=0"), 0);
  EXPECT_TRUE(Library().broadcastMode);
  ExpectNothingSelected();  // the default record is current
  EXPECT_TRUE(host.frames().empty());
  EXPECT_TRUE(host.status_calls().empty());
  EXPECT_EQ(TradExecCommand("CANCELLA"), 27);  // only the file transfer runs

  // A frame now goes to the present registers through the broadcast function.
  host.set_present(2, true);
  host.broadcast_answer(1, 0, bytes({'U', 0}));
  host.broadcast_answer(2, 0, bytes({'U', 0}));
  host.broadcast_answer(7, 5, {});  // absent: its failure does not count
  const Bytes frame = bytes({'U', 0, 24});
  int error = -1;
  EXPECT_TRUE(SendEcrFrame(FRAME_PLAIN, frame.data(), 3, error));
  EXPECT_EQ(error, 0);
  host.broadcast_answer(2, 4, {});
  EXPECT_FALSE(SendEcrFrame(FRAME_PLAIN, frame.data(), 3, error));
  EXPECT_EQ(error, 30);
  EXPECT_EQ(host.broadcasts().size(), 2u);
  EXPECT_TRUE(host.frames().empty());

  // Selecting one register ends the broadcast.
  Cached(2);
  EXPECT_EQ(TradExecCommand("SELEZIONA CASSA=2, CACHE"), 0);
  EXPECT_FALSE(Library().broadcastMode);
  EXPECT_EQ(SelectedEcr(), 2);
}

// ---- network connections ----

class SelectEcrNetwork : public SelectEcr {
 protected:
  void SetUp() override {
    SelectEcr::SetUp();
    Library().TradFlags = TRADF_REMOTE;
    SelectedEcr() = 0;
    CurrentEcr() = 0;
    Cached(1);
  }
};

TEST_F(SelectEcrNetwork, ConnectsToTheTargetTextWithItsTimeOutThenSelectsRegister1) {
  EXPECT_EQ(TradExecCommand("SELEZIONA CASSA='10.0.0.7:9100', CACHE, TIMEOUT=45"), 0);
  ASSERT_EQ(ConnectionHost::requests.size(), 1u);
  const ConnectionRequest& connect = ConnectionHost::requests[0];
  EXPECT_EQ(connect.request, ECRIO_CONNECT_TIMEOUT);
  EXPECT_EQ(connect.target, "10.0.0.7:9100");
  EXPECT_EQ(connect.length, 13);
  EXPECT_EQ(connect.timeOut, 45);
  EXPECT_EQ(pauses(), std::vector<std::uint32_t>{500});
  EXPECT_EQ(SelectedEcr(), 1);
  EXPECT_EQ(CurrentEcr(), 1);

  // A selected register is disconnected before the next connection.
  EXPECT_EQ(TradExecCommand("SELEZIONA CASSA='10.0.0.8', CACHE"), 0);
  EXPECT_EQ(Requests(), (std::vector<int>{ECRIO_CONNECT_TIMEOUT, ECRIO_DISCONNECT, ECRIO_CONNECT_TIMEOUT}));
}

TEST_F(SelectEcrNetwork, TheTimeOutIsKeptBetween1And180Seconds) {
  const struct {
    const char* field;
    int seconds;
  } cases[] = {{"", 30},
               {", TIMEOUT=0", 30},
               {", TIMEOUT=-5", 30},
               {", TIMEOUT=1", 1},
               {", TIMEOUT=180", 180},
               {", TIMEOUT=181", 180},
               {", TIMEOUT=500", 180}};
  for (const auto& c : cases) {
    ConnectionHost::requests.clear();
    SelectedEcr() = 0;
    EXPECT_EQ(TradExecCommand(std::string("SELEZIONA CASSA='h', CACHE") + c.field), 0) << c.field;
    ASSERT_EQ(ConnectionHost::requests.size(), 1u) << c.field;
    EXPECT_EQ(ConnectionHost::requests[0].timeOut, c.seconds) << c.field;
  }
}

TEST_F(SelectEcrNetwork, TheDisconnectFlagOnlyDisconnects) {
  SelectedEcr() = 1;
  CurrentEcr() = 1;
  Executor().ProgSessionState = 1;
  EXPECT_EQ(TradExecCommand("SELEZIONA SCOLLEGA"), 0);
  EXPECT_EQ(Requests(), std::vector<int>{ECRIO_DISCONNECT});
  ExpectNothingSelected();
  EXPECT_EQ(Executor().ProgSessionState, 0);
  EXPECT_TRUE(pauses().empty());
}

TEST_F(SelectEcrNetwork, EveryConnectionFailureLeavesNothingSelected) {
  const struct {
    std::int32_t status;
    int result;
  } cases[] = {{-2, 28}, {-3, 29}, {-6, 29}, {7, 27}, {0, 27}, {1, 27}, {2, 27}, {-1, 27}};
  for (const auto& c : cases) {
    SelectedEcr() = 1;
    CurrentEcr() = 1;
    ConnectionHost::connectResult = 1;
    ConnectionHost::connectStatus = c.status;
    EXPECT_EQ(TradExecCommand("SELEZIONA CASSA='h', CACHE"), c.result) << c.status;
    ExpectNothingSelected();
  }
  EXPECT_TRUE(pauses().empty());
  EXPECT_TRUE(host.frames().empty());
}

TEST_F(SelectEcrNetwork, AUserAbortDuringTheConnectionIsNotASuccess) {
  ConnectionHost::abortWhileConnecting = true;
  host.abort_progress_at(1);
  EXPECT_EQ(TradExecCommand("SELEZIONA CASSA='h', CACHE"), 27);
  ASSERT_EQ(host.progress_calls().size(), 1u);
  EXPECT_EQ(host.progress_calls()[0].text, "CALL IN PROGRESS");
  ExpectNothingSelected();
  // Nothing is left over for the next success text either.
  EXPECT_EQ(Reply().ReplyExtra, "");

  // Without the stop the same connection succeeds.
  host.abort_progress_at(0);
  EXPECT_EQ(TradExecCommand("SELEZIONA CASSA='h', CACHE"), 0);
  EXPECT_EQ(SelectedEcr(), 1);
}

TEST_F(SelectEcrNetwork, AFailedConfigurationReadDisconnectsAgain) {
  host.expect("T").answer(1, {}, 3);
  EXPECT_EQ(TradExecCommand("SELEZIONA CASSA='h'"), 4);
  EXPECT_EQ(Requests(), (std::vector<int>{ECRIO_CONNECT_TIMEOUT, ECRIO_DISCONNECT}));
  ExpectNothingSelected();
}

// ---- dial-up connections ----

TEST_F(SelectEcr, DialUpHangsUpTheSelectedRegisterAndCallsWithoutATimeOut) {
  Library().TradFlags = TRADF_CONNECT;
  Cached(1);
  EXPECT_EQ(TradExecCommand("SELEZIONA CASSA='0612345678', CACHE, TIMEOUT=90, SCOLLEGA"), 0);
  ASSERT_EQ(Requests(), (std::vector<int>{ECRIO_HANGUP, ECRIO_CONNECT}));
  EXPECT_EQ(ConnectionHost::requests[1].target, "0612345678");
  EXPECT_EQ(ConnectionHost::requests[1].timeOut, 0);
  EXPECT_EQ(SelectedEcr(), 1);

  ConnectionHost::requests.clear();
  host.expect("T").answer(1, {}, 3);
  EXPECT_EQ(TradExecCommand("SELEZIONA CASSA='0612345678'"), 4);
  EXPECT_EQ(Requests(), (std::vector<int>{ECRIO_HANGUP, ECRIO_CONNECT, ECRIO_HANGUP}));
  ExpectNothingSelected();
}

// ---- against the simulator: a real configuration read ----

class SelectEcrSimulated : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { ASSERT_TRUE(LoadDefinitionFile(kShippedFile)); }
  static void TearDownTestSuite() { ClearDefinitionTables(); }
  void SetUp() override { host_.Install(); }
  void TearDown() override { ResetProcessState(); }
  SimHost host_;
};

TEST_F(SelectEcrSimulated, TheSelectionReadsTheRegisterUnlessTheCacheIsAsked) {
  host_.sim.AddRegister(2, *ecrsim::BuiltInConfig("t72"));
  ASSERT_EQ(TradExecCommand("SELEZIONA CASSA=2"), 0);
  const int frames = host_.FramesTo(2);
  EXPECT_GT(frames, 0);
  EXPECT_EQ(EcrRecord(2).EcrNumber, 2);
  EXPECT_EQ(&CurrentRecord(), &EcrRecord(2));
  EXPECT_EQ(EcrRecord(0).EcrNumber, 2);
  EXPECT_EQ(TradExecCommand("SELEZIONA CASSA=2, CACHE"), 0);
  EXPECT_EQ(host_.FramesTo(2), frames);
  EXPECT_EQ(TradExecCommand("SELEZIONA CASSA=2"), 0);
  EXPECT_EQ(host_.FramesTo(2), 2 * frames);

  // A register that does not answer: time-out, and nothing selected.
  EXPECT_EQ(TradExecCommand("SELEZIONA CASSA=9"), 4);
  EXPECT_EQ(SelectedEcr(), 0);
}

}  // namespace
}  // namespace quadrel
