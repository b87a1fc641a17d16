// The register link primitives against the register simulator in-process.
#include "link/register_link.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "config/memory_image.h"
#include "link/ecr_readiness.h"
#include "link/settings_write_back.h"
#include "sim_host.h"

namespace quadrel {
namespace {

using Bytes = std::vector<std::uint8_t>;

class RegisterLinkTest : public ::testing::Test {
 protected:
  void SetUp() override {
    host_.sim.AddRegister(1, *ecrsim::BuiltInConfig("t72"));
    host_.Install();
  }
  void TearDown() override { ResetProcessState(); }

  ecrsim::SimRegister& Reg() { return *host_.sim.Find(1); }
  Bytes Answer() const {
    return {FrameBuffer().data.begin(), FrameBuffer().data.begin() + FrameBuffer().length};
  }

  SimHost host_;
};

// ---- frame builders ----

TEST_F(RegisterLinkTest, BuildersSendTheirBytesAndLeaveTheAnswer) {
  int error = -1;
  ASSERT_TRUE(SendFrame1('T', error));
  EXPECT_EQ(error, 0);
  EXPECT_EQ(Answer().size(), 96u);
  ASSERT_TRUE(ReadEcrMemory(Reg().Config().Block1Address(), 64, error));
  const Bytes block1 = Answer();
  EXPECT_EQ(Bytes(block1.begin() + 1, block1.end()), Reg().Config().Data(ecrsim::Area::Block1));
  ASSERT_TRUE(ReadEcrMemory32(0x12345, 16, error));
  EXPECT_EQ(Answer()[2], ecrsim::ExtendedMemoryByte(0x12345));
  EXPECT_EQ(Reg().Log().back().frame, (Bytes{'O', 20, 0x45, 0x23, 0x01, 0x00, 16}));
  ReadEcrMemoryExt(0x1234, 8, 0xF0, error);
  EXPECT_EQ(Reg().Log().back().frame, (Bytes{'D', 0x34, 0x12, 8, 0xF0}));
  ReadEcrRecordExt(0x1256, 0x3400, 8, 0xF1, error);
  EXPECT_EQ(Reg().Log().back().frame, (Bytes{'D', 0x56, 0x34, 8, 0xF1}));
  SendO17Number(0x0102, error);
  EXPECT_EQ(Reg().Log().back().frame, (Bytes{'O', 17, 0x02, 0x01}));
}

TEST_F(RegisterLinkTest, ShortMemoryAnswerFailsInsteadOfReadingTheRequestBack) {
  Reg().AddFault({ecrsim::FaultKind::ShortAnswer, 3});
  int error = 0;
  EXPECT_FALSE(ReadEcrMemory(0x1000, 64, error));
  EXPECT_EQ(error, 0x10000 | 'D');
}

TEST_F(RegisterLinkTest, StatusAndStandByRelease) {
  Reg().Status().transaction = 1;
  Reg().Status().keyPosition = 2;
  EXPECT_EQ(ReadEcrStatus(), 0);
  EXPECT_EQ(EcrStatusBytes().transactionFlags, 1);
  EXPECT_EQ(EcrStatusBytes().keyPosition, 2);
  Reg().standBy = true;
  EXPECT_EQ(ReleaseEcrStandBy(), 0);
  EXPECT_FALSE(Reg().standBy);
  Reg().AddFault({ecrsim::FaultKind::HostResult, 2, 9});
  EXPECT_EQ(ReadEcrStatus(), 512 + 9);
}

// ---- waits ----

TEST_F(RegisterLinkTest, StandByIsRefusedAtOnceWithATransactionOpenUnlessMode2) {
  Reg().Status().transaction = 1;
  EXPECT_EQ(SetEcrStandBy(1), kResultTransactionOpen);
  EXPECT_EQ(host_.FramesTo(1), 1);
  EXPECT_TRUE(host_.progressTexts.empty());

  // Mode 2 waits until the transaction ends.
  host_.onProgress = [&](int call, int*) {
    if (call == 3) Reg().Status().transaction = 0;
  };
  EXPECT_EQ(SetEcrStandBy(2), 0);
  EXPECT_TRUE(Reg().standBy);
  ASSERT_EQ(host_.progressTexts.size(), 3u);
  EXPECT_EQ(host_.progressTexts[0], "WAITING FOR TRANSACTION END");
}

TEST_F(RegisterLinkTest, StandByWaitEndsWhenTheHostAbortsAndOtherRefusalsGive8199) {
  Reg().Status().transaction = 1;
  host_.onProgress = [](int call, int* abort) {
    if (call == 2) *abort = 1;
  };
  EXPECT_EQ(SetEcrStandBy(2), kResultTransactionOpen);
  EXPECT_EQ(host_.FramesTo(1), 2);
  Reg().Status().transaction = 0;
  Reg().AddFault({ecrsim::FaultKind::HostResult, 8, 3});
  EXPECT_EQ(SetEcrStandBy(2), kResultStandBySetError);
  Reg().AddFault({ecrsim::FaultKind::HostResult, 4, 1});
  EXPECT_EQ(SetEcrStandBy(1), kResultStandBySetError);
}

TEST_F(RegisterLinkTest, ChipCardWaitWithoutWaitingAsksOnce) {
  EXPECT_EQ(WaitChipCard(0), kResultChipCardError);
  EXPECT_EQ(host_.FramesTo(1), 1);
  Reg().cardPresent = true;
  EXPECT_EQ(WaitChipCard(0), 0);
}

TEST_F(RegisterLinkTest, ChipCardWaitPollsUntilTheCardOrAnAbort) {
  host_.onProgress = [&](int call, int*) {
    if (call == 2) Reg().cardPresent = true;
  };
  EXPECT_EQ(WaitChipCard(1), 0);
  EXPECT_EQ(host_.FramesTo(1), 3);
  EXPECT_EQ(host_.progressTexts[0], "WAITING FOR CHIPCARD");

  Reg().cardPresent = false;
  host_.onProgress = [](int, int* abort) { *abort = 1; };
  EXPECT_EQ(WaitChipCard(1), kResultChipCardError);
  Reg().AddFault({ecrsim::FaultKind::HostResult, 1, 4});
  EXPECT_EQ(WaitChipCard(1), 512 + 4);
}

TEST_F(RegisterLinkTest, StandByAndChipCardWaitsEndAtTheirLimitWhenNobodyCanAbort) {
  Library().host.progress = nullptr;  // as under AutoRun
  Reg().Status().transaction = 1;
  EXPECT_EQ(SetEcrStandBy(2, 300), kResultTransactionOpen);
  EXPECT_GE(host_.FramesTo(1), 2);
  EXPECT_EQ(WaitChipCard(1, 300), kResultChipCardError);
}

TEST_F(RegisterLinkTest, ReadinessFollowsTheHostStatusConventionAndAsksAtMostThreeTimes) {
  host_.statusResult = 0;
  host_.statusFlags = 0;
  EXPECT_TRUE(IsEcrReady());
  EXPECT_EQ(host_.statusCalls, 1);

  host_.statusCalls = 0;
  host_.statusFlags = HOST_STATUS_NOT_READY;
  EXPECT_FALSE(IsEcrReady());
  EXPECT_EQ(host_.statusCalls, 3);

  // A failed status call says nothing about readiness, whatever its flags hold.
  host_.statusCalls = 0;
  host_.statusResult = 3;
  host_.statusFlags = 0;
  EXPECT_FALSE(IsEcrReady());
  EXPECT_EQ(host_.statusCalls, 1);

  host_.info().status = nullptr;
  EXPECT_FALSE(IsEcrReady());
}

// ---- identity block and areas ----

TEST_F(RegisterLinkTest, IdentityBlockCopiesWhatTheAnswerHolds) {
  std::array<std::uint8_t, kIdentityBlockBytes> block;
  block.fill(0xEE);
  ASSERT_TRUE(ReadEcrIdentityBlock(block));
  EXPECT_TRUE(
      std::equal(block.begin(), block.end(), Reg().Config().Data(ecrsim::Area::IdentityBlock).begin()));

  Reg().AddFault({ecrsim::FaultKind::ShortAnswer, 35});  // 34 data bytes: 32 are taken
  block.fill(0xEE);
  ASSERT_TRUE(ReadEcrIdentityBlock(block));
  EXPECT_EQ(block[31], Reg().Config().Data(ecrsim::Area::IdentityBlock)[31]);
  EXPECT_EQ(block[32], 0);

  Reg().AddFault({ecrsim::FaultKind::ShortAnswer, 32});
  EXPECT_FALSE(ReadEcrIdentityBlock(block));

  Reg().AddFault({ecrsim::FaultKind::HostResult, 4});
  block.fill(0xEE);
  EXPECT_TRUE(ReadEcrIdentityBlock(block));
  EXPECT_EQ(block, (std::array<std::uint8_t, kIdentityBlockBytes>{}));
}

TEST_F(RegisterLinkTest, AreaIsReadIn128ByteBlocksAndComesWhole) {
  std::vector<std::uint8_t> area(2 * kAreaUnitBytes);
  ASSERT_TRUE(ReadEcrArea(0x2000, 2, area.data()));
  EXPECT_EQ(host_.FramesTo(1), 8);
  for (std::size_t i = 0; i < area.size(); ++i) {
    ASSERT_EQ(area[i], ecrsim::ExtendedMemoryByte(0x2000 + static_cast<std::uint32_t>(i))) << i;
  }
}

TEST_F(RegisterLinkTest, AreaFailsWhenABlockFailsRatherThanShiftingTheRest) {
  std::vector<std::uint8_t> area(kAreaUnitBytes, 0xEE);
  Reg().AddFault({ecrsim::FaultKind::HostResult, 4, 0, 1});  // the second block's exchange
  EXPECT_FALSE(ReadEcrArea(0x2000, 1, area.data()));
  EXPECT_EQ(area[kBlockBytes], 0xEE);  // nothing of a later block moved into its place

  Reg().AddFault({ecrsim::FaultKind::ShortAnswer, 129, 0, 2});
  EXPECT_FALSE(ReadEcrArea(0x2000, 1, area.data()));
  EXPECT_FALSE(ReadEcrArea(ecrsim::kExtendedMemoryBytes - 256, 1, area.data()));  // runs off the memory
}

TEST_F(RegisterLinkTest, Block16KTakes128Exchanges) {
  std::vector<std::uint8_t> block(16384);
  ASSERT_TRUE(ReadEcrBlock16K(0x40000, block.data()));
  EXPECT_EQ(host_.FramesTo(1), 128);
  EXPECT_EQ(block.back(), ecrsim::ExtendedMemoryByte(0x40000 + 16383));
}

// ---- resets and settings ----

TEST_F(RegisterLinkTest, TransferResets) {
  EXPECT_EQ(XferResetDataCollect(), 0);
  EXPECT_EQ(Reg().dataCollectionResets, 1);
  EXPECT_EQ(Reg().Log().back().frame, (Bytes{'U', 0, 11}));
  EXPECT_EQ(XferResetArticles(), 0);
  EXPECT_EQ(Reg().articleResets, 1);
  Reg().articleResetStatus = 1;
  EXPECT_EQ(XferResetArticles(), kResultArticlesResetError);
  Reg().AddFault({ecrsim::FaultKind::HostResult, 2, 6});
  EXPECT_EQ(XferResetArticles(), 512 + 6);
}

TEST_F(RegisterLinkTest, SettingsWriteBackTurnsTheEchoByteOffOnlyAfterAChange) {
  Reg().EditConfig().SetNumber(ecrsim::Area::OutputSettings, 4, 1, 0x01);  // a command switched the echo on
  const Bytes before = Reg().Config().Data(ecrsim::Area::OutputSettings);
  EXPECT_EQ(WriteBackEcrSettings(), 0);
  EXPECT_EQ(host_.FramesTo(1), 0);

  Library().settingsChanged = true;
  EXPECT_EQ(WriteBackEcrSettings(), 0);
  const Bytes after = Reg().Config().Data(ecrsim::Area::OutputSettings);
  EXPECT_EQ(after[3], 0);
  for (std::size_t i : {0u, 1u, 2u, 4u, 5u, 6u, 7u, 8u, 9u}) EXPECT_EQ(after[i], before[i]) << i;
  EXPECT_EQ(host_.services, std::vector<int>{ECRIO_XFER_END});
  EXPECT_FALSE(Library().settingsChanged);
}

}  // namespace
}  // namespace quadrel
