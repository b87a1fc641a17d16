// Command 5 against simulated registers: a local register and the frames that
// follow it, network and dial-up connections served by the host (connect,
// disconnect, time-out, the user's stop, a failed read after the connection),
// and broadcast to several registers.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "commands/session/select_ecr.h"
#include "commands/session/session_commands.h"
#include "definition_text.h"
#include "language/definition_file.h"
#include "link/key_batch.h"
#include "run/command_executor.h"
#include "run/key_batch_sender.h"
#include "sim_host.h"

namespace quadrel {
namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr int kNoEcrSelected = 27;
constexpr int kConnectionTimeOut = 28;
constexpr int kModemError = 29;
constexpr int kBroadcastError = 30;
constexpr int kEcrNumberIllegal = 275;
constexpr int kLinkTimeOut = 4;

void NoPause(std::uint32_t) {}

class SelectEcrSim : public test_support::WithShippedDefinitions<> {
 protected:
  void SetUp() override {
    host_.sim.AddRegister(1, *ecrsim::BuiltInConfig("t72"));
    host_.sim.AddRegister(2, *ecrsim::BuiltInConfig("s12"));
    host_.Install();
    SetSelectEcrPause(&NoPause);
  }
  void TearDown() override {
    SetSelectEcrPause(nullptr);
    ResetProcessState();
  }

  // Runs a line and sends what it queued, as EcrCmd does.
  static int Run(const std::string& line) { return SendKeyBatch(TradExecCommand(line), nullptr, 0); }

  Bytes LastFrameTo(int ecr) { return host_.sim.Find(ecr)->Log().back().frame; }

  static void ExpectNothingSelected() {
    EXPECT_EQ(SelectedEcr(), 0);
    EXPECT_EQ(CurrentEcr(), 0);
    EXPECT_EQ(&CurrentRecord(), &EcrRecord(0));
  }

  SimHost host_;
};

// ---- a local register ----

TEST_F(SelectEcrSim, TheSelectedRegistersConfigurationIsReadAndLaterFramesGoThere) {
  ASSERT_EQ(Run("SELEZIONA CASSA=2"), 0);
  EXPECT_EQ(SelectedEcr(), 2);
  EXPECT_EQ(CurrentRecord().PrintWidth, 24);  // s12's block 4
  EXPECT_EQ(EcrRecord(1).EcrNumber, 0);       // register 1 was never read
  EXPECT_TRUE(host_.sim.Find(1)->Log().empty());

  ASSERT_EQ(Run("CANCELLA"), 0);
  EXPECT_EQ(LastFrameTo(2), (Bytes{'A', 0}));
  EXPECT_TRUE(host_.sim.Find(1)->Log().empty());

  // A number outside the registers changes nothing and sends nothing.
  const int frames = host_.FramesTo(2);
  EXPECT_EQ(Run("SELEZIONA CASSA=25"), kEcrNumberIllegal);
  EXPECT_EQ(Run("SELEZIONA CASSA=0"), kEcrNumberIllegal);  // 0 only on a multi-register host
  EXPECT_EQ(SelectedEcr(), 2);
  EXPECT_EQ(host_.FramesTo(2), frames);
}

TEST_F(SelectEcrSim, ARegisterThatDoesNotAnswerIsNotLeftSelected) {
  ASSERT_EQ(Run("SELEZIONA CASSA=2"), 0);
  host_.sim.Find(2)->AddFault({ecrsim::FaultKind::NoAnswer});
  EXPECT_EQ(Run("SELEZIONA CASSA=2"), kLinkTimeOut);
  ExpectNothingSelected();
  EXPECT_EQ(Run("CANCELLA"), kNoEcrSelected);
}

// ---- network connections ----

class SelectEcrSimNetwork : public SelectEcrSim {
 protected:
  void SetUp() override {
    SelectEcrSim::SetUp();
    Library().TradFlags = TRADF_REMOTE;
    host_.UseConnections();
    SelectedEcr() = 0;
    CurrentEcr() = 0;
    host_.targets["shop-2"] = {2, 3, 0};
  }
};

TEST_F(SelectEcrSimNetwork, ConnectReachesTheTargetsRegisterAsRegister1) {
  ASSERT_EQ(Run("SELEZIONA CASSA='shop-2', TIMEOUT=10"), 0);
  ASSERT_EQ(host_.connects.size(), 1u);
  EXPECT_EQ(host_.connects[0].request, ECRIO_CONNECT_TIMEOUT);
  EXPECT_EQ(host_.connects[0].target, "shop-2");
  EXPECT_EQ(host_.connects[0].timeOut, 10);
  EXPECT_EQ(host_.Connection(), 2);
  // One progress report a second of the call.
  EXPECT_EQ(host_.progressTexts, std::vector<std::string>(3, "CALL IN PROGRESS"));
  EXPECT_EQ(SelectedEcr(), 1);
  EXPECT_EQ(EcrRecord(1).PrintWidth, 24);  // register 1 is the s12 behind the connection

  ASSERT_EQ(Run("CANCELLA"), 0);
  EXPECT_EQ(LastFrameTo(2), (Bytes{'A', 0}));
  EXPECT_TRUE(host_.sim.Find(1)->Log().empty());

  EXPECT_EQ(Run("SELEZIONA SCOLLEGA"), 0);
  EXPECT_EQ(host_.services, (std::vector<int>{ECRIO_CONNECT_TIMEOUT, ECRIO_DISCONNECT}));
  EXPECT_EQ(host_.Connection(), 0);
  ExpectNothingSelected();
  EXPECT_EQ(Run("CANCELLA"), kNoEcrSelected);
}

TEST_F(SelectEcrSimNetwork, ASelectedRegisterIsDisconnectedBeforeTheNextConnection) {
  host_.targets["shop-1"] = {1, 1, 0};
  ASSERT_EQ(Run("SELEZIONA CASSA='shop-2'"), 0);
  ASSERT_EQ(Run("SELEZIONA CASSA='shop-1'"), 0);
  EXPECT_EQ(host_.services,
            (std::vector<int>{ECRIO_CONNECT_TIMEOUT, ECRIO_DISCONNECT, ECRIO_CONNECT_TIMEOUT}));
  EXPECT_EQ(host_.Connection(), 1);
  EXPECT_EQ(EcrRecord(1).PrintWidth, 40);  // now the t72
}

TEST_F(SelectEcrSimNetwork, ACallLongerThanTheTimeOutEndsIn28) {
  host_.targets["slow"] = {2, 20, 0};
  EXPECT_EQ(Run("SELEZIONA CASSA='slow', TIMEOUT=5"), kConnectionTimeOut);
  EXPECT_EQ(host_.progressTexts.size(), 5u);
  EXPECT_EQ(host_.Connection(), 0);
  ExpectNothingSelected();

  // An unknown target rings until the time-out too; below 1 second means 30.
  host_.progressTexts.clear();
  EXPECT_EQ(Run("SELEZIONA CASSA='nowhere', TIMEOUT=0"), kConnectionTimeOut);
  EXPECT_EQ(host_.connects.back().timeOut, 30);
  EXPECT_EQ(host_.progressTexts.size(), 30u);
  EXPECT_TRUE(host_.sim.Find(2)->Log().empty());
}

TEST_F(SelectEcrSimNetwork, TheUsersStopDuringTheCallIsNotASuccess) {
  host_.onProgress = [](int call, int* abort) {
    if (call == 2) *abort = 1;
  };
  EXPECT_EQ(Run("SELEZIONA CASSA='shop-2'"), kNoEcrSelected);
  EXPECT_EQ(host_.progressTexts.size(), 2u);
  EXPECT_EQ(host_.Connection(), 0);
  ExpectNothingSelected();
  EXPECT_TRUE(host_.sim.Find(2)->Log().empty());
  EXPECT_EQ(Reply().ReplyExtra, "");
}

TEST_F(SelectEcrSimNetwork, AModemFailureEndsIn29) {
  host_.targets["busy"] = {2, 1, -4};
  EXPECT_EQ(Run("SELEZIONA CASSA='busy'"), kModemError);
  ExpectNothingSelected();
}

TEST_F(SelectEcrSimNetwork, AFailedReadAfterTheConnectionDisconnectsAgain) {
  host_.sim.Find(2)->AddFault({ecrsim::FaultKind::NoAnswer, 0, 0, 1});  // the second frame of the read
  EXPECT_EQ(Run("SELEZIONA CASSA='shop-2'"), kLinkTimeOut);
  EXPECT_EQ(host_.services, (std::vector<int>{ECRIO_CONNECT_TIMEOUT, ECRIO_DISCONNECT}));
  EXPECT_EQ(host_.Connection(), 0);
  ExpectNothingSelected();
}

// ---- dial-up ----

TEST_F(SelectEcrSim, DialUpCallsWithTheHostsOwnTimeOutAndHangsUpFirst) {
  Library().TradFlags = TRADF_CONNECT;
  host_.UseConnections();
  host_.targets["0612345678"] = {2, 40, 0};
  ASSERT_EQ(Run("SELEZIONA CASSA='0612345678', TIMEOUT=5"), 0);
  EXPECT_EQ(host_.connects.back().request, ECRIO_CONNECT);
  EXPECT_EQ(host_.connects.back().timeOut, 0);  // the request carries none
  EXPECT_EQ(host_.Connection(), 2);

  host_.targets["0699"] = {1, kSimDialSeconds + 1, 0};
  EXPECT_EQ(Run("SELEZIONA CASSA='0699'"), kConnectionTimeOut);
  EXPECT_EQ(host_.services, (std::vector<int>{ECRIO_HANGUP, ECRIO_CONNECT, ECRIO_HANGUP, ECRIO_CONNECT}));
  EXPECT_EQ(host_.Connection(), 0);
  ExpectNothingSelected();
}

// ---- broadcast ----

class SelectEcrSimBroadcast : public SelectEcrSim {
 protected:
  void SetUp() override {
    SelectEcrSim::SetUp();
    host_.sim.AddRegister(5, *ecrsim::BuiltInConfig("c02"));
    host_.MarkPresentRegisters();
    host_.info().protocolType = 1;
    Library().TradFlags = TRADF_MULTI_ECR;
  }

  // Command 30, the one command that runs in broadcast mode, is not built
  // yet: the clear key is queued as a handler queues it and sent as the
  // executor's caller sends it.
  static int SendClearKey() {
    KeyBatch().Clear();
    return SendKeyBatch(CmdClearKey(), nullptr, 0);
  }
};

TEST_F(SelectEcrSimBroadcast, Register0SendsEachFrameToEveryPresentRegister) {
  ASSERT_EQ(Run("SELEZIONA CASSA=0"), 0);
  EXPECT_TRUE(Library().broadcastMode);
  ExpectNothingSelected();
  EXPECT_EQ(host_.broadcasts, 0);
  EXPECT_TRUE(host_.sim.Find(1)->Log().empty());
  EXPECT_EQ(Run("CANCELLA"), kNoEcrSelected);

  ASSERT_EQ(SendClearKey(), 0);
  EXPECT_EQ(host_.broadcasts, 1);
  for (int ecr : {1, 2, 5}) {
    ASSERT_EQ(host_.FramesTo(ecr), 1) << ecr;
    EXPECT_EQ(LastFrameTo(ecr), (Bytes{'A', 0})) << ecr;
  }

  // One register that does not take the frame fails the broadcast.
  host_.sim.Find(5)->AddFault({ecrsim::FaultKind::HostResult, 8, 1});
  EXPECT_EQ(SendClearKey(), kBroadcastError);
  host_.sim.Find(2)->AddFault({ecrsim::FaultKind::NoAnswer});
  EXPECT_EQ(SendClearKey(), kBroadcastError);
  EXPECT_EQ(SendClearKey(), 0);

  // A register marked present that the line does not reach fails it too.
  host_.sim.RemoveRegister(2);
  EXPECT_EQ(SendClearKey(), kBroadcastError);

  // Selecting one register ends the broadcast.
  host_.sim.AddRegister(2, *ecrsim::BuiltInConfig("s12"));
  ASSERT_EQ(Run("SELEZIONA CASSA=2"), 0);
  EXPECT_FALSE(Library().broadcastMode);
  const int broadcasts = host_.broadcasts;
  const int framesTo1 = host_.FramesTo(1);
  ASSERT_EQ(Run("CANCELLA"), 0);
  EXPECT_EQ(host_.broadcasts, broadcasts);
  EXPECT_EQ(LastFrameTo(2), (Bytes{'A', 0}));
  EXPECT_EQ(host_.FramesTo(1), framesTo1);
}

}  // namespace
}  // namespace quadrel
