#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

#include "config/memory_image.h"
#include "sim_register.h"
#include "simulator.h"

namespace ecrsim {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Data(const Bytes& answer) {
  return {answer.begin() + 1, answer.end()};
}

class SimulatorRegisterTest : public ::testing::Test {
 protected:
  SimulatorRegisterTest() : reg_(*BuiltInConfig("t72")) {}

  Reply Send(const Bytes& frame) { return reg_.Exchange(frame); }
  Bytes ReadMemory(std::uint16_t address, std::uint8_t length) {
    const Reply r =
        Send({'D', static_cast<std::uint8_t>(address), static_cast<std::uint8_t>(address >> 8), length});
    EXPECT_EQ(r.hostResult, kHostOk);
    EXPECT_EQ(r.answer.size(), 1u + length);
    return Data(r.answer);
  }

  SimRegister reg_;
};

// ---- answers ----

TEST_F(SimulatorRegisterTest, StatusAnswerCarriesTheSixStatusBytesInOrder) {
  StatusBytes& s = reg_.Status();
  s = {0x05, 0x21, 0x01, 0x00, 0x02, 0x01};
  EXPECT_EQ(Send({'S'}).answer, (Bytes{'S', 0x05, 0x21, 0x01, 0x00, 0x02, 0x01}));
}

TEST_F(SimulatorRegisterTest, BlocksLieWhereTheIdentityAndTheBlocksPointTo) {
  const RegisterConfig& c = reg_.Config();
  const Bytes identity = Data(Send({'T'}).answer);
  ASSERT_GE(identity.size(), 68u);
  const std::uint16_t block1 = identity[66] | (identity[67] << 8);  // identity word 67
  const Bytes b1 = ReadMemory(block1, kBlock1Bytes);
  EXPECT_EQ(b1, c.Data(Area::Block1));
  const std::uint16_t block2 = b1[30] | (b1[31] << 8);  // block 1 word 31
  const std::uint16_t block3 = b1[48] | (b1[49] << 8);  // block 1 word 49
  EXPECT_EQ(ReadMemory(block2, kBlock2Bytes), c.Data(Area::Block2));
  const Bytes b3 = ReadMemory(block3, kBlock3Bytes);
  EXPECT_EQ(b3, c.Data(Area::Block3));
  EXPECT_EQ(ReadMemory(block3 + kBlock3Bytes, kBlock4Bytes), c.Data(Area::Block4));
  const std::uint16_t block5 = b3[58] | (b3[59] << 8);  // block 3 word 59
  EXPECT_EQ(ReadMemory(block5, kBlock5Bytes), c.Data(Area::Block5));
}

TEST_F(SimulatorRegisterTest, ConfigurationChangesMoveTheBlocks) {
  reg_.EditConfig().SetNumber(Area::Block1, 49, 2, 0xC000);
  EXPECT_EQ(ReadMemory(0xC000, kBlock3Bytes), reg_.Config().Data(Area::Block3));
}

TEST_F(SimulatorRegisterTest, MemoryReadsPastTheEndOrWithUnknownSelectorsAreRefused) {
  EXPECT_EQ(ReadMemory(0xFF01, 0xFF).size(), 0xFFu);  // ends at the last byte
  Reply r = Send({'D', 0x02, 0xFF, 0xFF});
  EXPECT_EQ(r.hostResult, kHostRefused);
  EXPECT_EQ(r.answer, (Bytes{'D', kRefuseBadAddress}));
  EXPECT_EQ(Send({'D', 1, 0, 4, 0xF2}).hostResult, kHostRefused);
  EXPECT_EQ(Send({'D', 0, 0}).hostResult, kHostRefused);
}

TEST_F(SimulatorRegisterTest, RecordReadsAnswerTable2RecordsAndTotalsBlockEntriesOnly) {
  RegisterConfig& c = reg_.EditConfig();
  c.SetNumber(Area::Identity, 49, 2, 3);  // table 2: three records of 8 bytes at 0xE300
  c.SetNumber(Area::Block1, 5, 2, 0xE300);
  c.SetNumber(Area::Block1, 7, 2, 8);
  c.SetNumber(Area::Block1, 13, 2, 0xE308);  // file 24: two blocks of two 1 + 3-byte entries
  c.SetNumber(Area::Block1, 15, 2, 8);
  c.SetNumber(Area::Block4, 36, 1, 1);
  c.SetNumber(Area::Block4, 35, 1, 3);
  c.SetNumber(Area::Block4, 61, 1, 2);
  Bytes table(24);
  for (std::size_t i = 0; i < table.size(); ++i) table[i] = static_cast<std::uint8_t>(0x40 + i);
  reg_.placedMemory.Place(0xE300, table);
  const auto at = [&](int from, int count) { return Bytes(table.begin() + from, table.begin() + from + count); };
  const Bytes refused{kRefuseBadAddress};
  for (const auto& [selector, a, b, length, expected] :
       {std::tuple{0xF0, 1, 0, 8, at(0, 8)}, std::tuple{0xF0, 3, 0, 5, at(16, 5)}, std::tuple{0xF0, 0, 0, 4, refused},
        std::tuple{0xF0, 4, 0, 4, refused}, std::tuple{0xF1, 2, 1, 4, at(16, 4)}, std::tuple{0xF1, 1, 2, 4, at(12, 4)},
        std::tuple{0xF1, 1, 3, 4, refused}, std::tuple{0xF1, 3, 1, 4, refused}, std::tuple{0xF1, 0, 1, 4, refused}}) {
    const Reply r = Send({'D', static_cast<std::uint8_t>(a), static_cast<std::uint8_t>(b),
                          static_cast<std::uint8_t>(length), static_cast<std::uint8_t>(selector)});
    EXPECT_EQ(Data(r.answer), expected) << selector << " " << a << " " << b;
  }
}

TEST_F(SimulatorRegisterTest, ExtendedMemoryAnswersAStatusByteThenConsecutiveBytes) {
  const Reply a = Send({'O', 20, 0x00, 0x10, 0x00, 0x00, 128});
  const Reply b = Send({'O', 20, 0x80, 0x10, 0x00, 0x00, 128});
  ASSERT_EQ(a.answer.size(), 130u);
  EXPECT_EQ(a.answer[0], 'O');
  EXPECT_EQ(a.answer[1], 0);
  EXPECT_EQ(a.answer[2], ExtendedMemoryByte(0x1000));
  EXPECT_EQ(b.answer[2], ExtendedMemoryByte(0x1080));
  EXPECT_NE(Bytes(a.answer.begin() + 2, a.answer.end()), Bytes(b.answer.begin() + 2, b.answer.end()));
  const std::uint32_t last = kExtendedMemoryBytes - 128;
  EXPECT_EQ(Send({'O', 20, static_cast<std::uint8_t>(last), static_cast<std::uint8_t>(last >> 8),
                  static_cast<std::uint8_t>(last >> 16), 0, 128})
                .answer.size(),
            130u);
  EXPECT_EQ(Send({'O', 20, static_cast<std::uint8_t>(last + 1), static_cast<std::uint8_t>((last + 1) >> 8),
                  static_cast<std::uint8_t>((last + 1) >> 16), 0, 128})
                .answer,
            (Bytes{'O', 1}));
  EXPECT_EQ(Send({'O', 20, 0, 0, 0, 0x80, 1}).answer, (Bytes{'O', 1}));  // far above the memory
}

TEST_F(SimulatorRegisterTest, OutputSettingsWriteChangesWhatTheNextReadReturns) {
  Bytes settings = Data(Send({'C', 3}).answer);
  ASSERT_EQ(settings.size(), 10u);
  Bytes write = {'C', 3};
  write.insert(write.end(), settings.begin(), settings.begin() + 9);
  write[5] = 0x55;  // fourth setting byte
  EXPECT_EQ(Send(write).hostResult, kHostOk);
  const Bytes after = Data(Send({'C', 3}).answer);
  EXPECT_EQ(after[3], 0x55);
  EXPECT_EQ(after[9], settings[9]);  // the tenth byte is not written
}

TEST_F(SimulatorRegisterTest, StandByIsRefusedWithRefusal6WhileATransactionIsOpen) {
  reg_.Status().transaction = 0x01;
  const Reply refused = Send({'H', 1});
  EXPECT_EQ(refused.hostResult, kHostRefused);
  EXPECT_EQ(refused.answer, (Bytes{'H', kRefuseTransactionOpen}));
  EXPECT_FALSE(reg_.standBy);
  reg_.Status().transaction = 0x20;  // other flags do not block
  EXPECT_EQ(Send({'H', 1}).hostResult, kHostOk);
  EXPECT_TRUE(reg_.standBy);
  EXPECT_EQ(Send({'H', 0}).hostResult, kHostOk);
  EXPECT_FALSE(reg_.standBy);
}

TEST_F(SimulatorRegisterTest, CardReaderAnswersOneWhenEmptyAndTheCardAreasWithACard) {
  EXPECT_EQ(Send({'C', 4}).answer, (Bytes{'C', 1}));
  EXPECT_EQ(Send({'C', 5}).answer, (Bytes{'C', 1}));
  reg_.cardPresent = true;
  const Bytes card = Send({'C', 4}).answer;
  EXPECT_EQ(Data(card), reg_.Config().Data(Area::Card));
  EXPECT_EQ(card[1], 0);
  EXPECT_EQ(Data(Send({'C', 5}).answer), reg_.Config().Data(Area::CardText));
  // A register without a reader refuses both.
  reg_.EditConfig().Resize(Area::Card, 0);
  reg_.EditConfig().Resize(Area::CardText, 0);
  EXPECT_EQ(Send({'C', 4}).answer, (Bytes{'C', kRefuseUnknownFrame}));
  EXPECT_EQ(Send({'C', 5}).hostResult, kHostRefused);
}

TEST_F(SimulatorRegisterTest, CountersAndSettingValuesAnswerTheirAreasOrAreRefused) {
  EXPECT_EQ(Data(Send({'U', 0, 23}).answer), reg_.Config().Data(Area::Counters));
  EXPECT_EQ(Data(Send({'C', 20}).answer), reg_.Config().Data(Area::SettingValues));
  EXPECT_EQ(Send({'C', 20, 0}).hostResult, kHostRefused);
  SimRegister s12(*BuiltInConfig("s12"));  // has no 'C' 20 values
  EXPECT_EQ(s12.Exchange(Bytes{'C', 20}).answer, (Bytes{'C', kRefuseUnknownFrame}));
  SimRegister m4(*BuiltInConfig("m4"));  // has no counters
  EXPECT_EQ(m4.Exchange(Bytes{'U', 0, 23}).hostResult, kHostRefused);
}

TEST_F(SimulatorRegisterTest, InformationFramesAndResets) {
  EXPECT_EQ(Send({'U', 0, 1}).answer.size(), 86u);
  EXPECT_EQ(Send({'U', 0, 0}).answer.size(), 50u);
  EXPECT_EQ(Send({'U', 0, 11}).answer, (Bytes{'U', 0}));
  reg_.articleResetStatus = 3;
  EXPECT_EQ(Send({'U', 0, 15}).answer, (Bytes{'U', 3}));
  EXPECT_EQ(reg_.dataCollectionResets, 1);
  EXPECT_EQ(reg_.articleResets, 1);
  EXPECT_EQ(Send({'U', 0, 99}).hostResult, kHostRefused);
  // t72's table-21 records are wider than a frame: refused, never an over-long answer.
  EXPECT_EQ(Send({'U', 0, 0x20, 2, 1, 0}).answer, (Bytes{'U', kRefuseBadAddress}));
  // A register without information frames refuses them.
  SimRegister s12(*BuiltInConfig("s12"));
  EXPECT_EQ(s12.Exchange(Bytes{'U', 0, 1}).hostResult, kHostRefused);
}

TEST_F(SimulatorRegisterTest, UnknownOrMalformedFramesAreRefusedNotAnswered) {
  for (const Bytes& frame : {Bytes{}, Bytes{'Z'}, Bytes{'S', 1}, Bytes{'T', 0}, Bytes{'C', 9},
                             Bytes{'O', 17, 1}, Bytes{'H', 2}, Bytes{'U', 1, 1}, Bytes{'C', 15, 2, 5, 1}}) {
    const Reply r = Send(frame);
    EXPECT_EQ(r.hostResult, kHostRefused) << frame.size();
    ASSERT_EQ(r.answer.size(), 2u);
    EXPECT_EQ(r.answer[1], kRefuseUnknownFrame);
  }
}

TEST_F(SimulatorRegisterTest, FeatureLevelsPackFourToAByteHighestFirst) {
  RegisterConfig c;
  c.SetFeatureLevel(0, 3);
  c.SetFeatureLevel(5, 1);
  EXPECT_EQ(c.Byte(Area::Block3, 89), 0xC0);
  EXPECT_EQ(c.Byte(Area::Block3, 90), 0x10);
  EXPECT_EQ(c.Byte(Area::Block3, 85) & 1, 0);
  c.SetFeatureLevel(127, 2);
  EXPECT_EQ(c.Byte(Area::Block4, 8), 0x02);
  EXPECT_EQ(c.Byte(Area::Block3, 85) & 1, 1);  // block 4 now carries levels
  EXPECT_EQ(c.FeatureLevel(5), 1);
  EXPECT_EQ(c.FeatureLevel(127), 2);
  EXPECT_FALSE(c.SetFeatureLevel(128, 1));
  EXPECT_FALSE(c.SetFeatureLevel(1, 4));
  // Without the flag block 4 carries no levels (s12 fills those bytes with 0xFF).
  const RegisterConfig s12 = *BuiltInConfig("s12");
  EXPECT_EQ(s12.Byte(Area::Block4, 1), 0xFF);
  EXPECT_EQ(s12.FeatureLevel(96), 0);
  EXPECT_EQ(s12.FeatureLevel(127), 0);
}

TEST_F(SimulatorRegisterTest, KeyRecordsAreLoggedAndAnsweredWithStatus) {
  const Bytes keys = {'A', 1, 2, 0x13, 3, 'a', 'b', 'c', 146};
  const Reply r = Send(keys);
  EXPECT_EQ(r.hostResult, kHostOk);
  EXPECT_EQ(r.answer[0], 'S');
  ASSERT_EQ(reg_.Log().size(), 1u);
  EXPECT_EQ(reg_.Log().back().frame, keys);
  EXPECT_EQ(reg_.Log().back().reply.answer, r.answer);
}

// ---- faults ----

TEST_F(SimulatorRegisterTest, HostResultFaultsShapeTheAnswerAsTheLinkReportsIt) {
  reg_.AddFault({FaultKind::HostResult, 4, 7});
  reg_.AddFault({FaultKind::HostResult, 8, 6});
  reg_.AddFault({FaultKind::HostResult, 8, 9});
  reg_.AddFault({FaultKind::HostResult, 32});
  Reply r = Send({'T'});
  EXPECT_EQ(r.hostResult, 4);
  EXPECT_EQ(r.detail, 7);
  EXPECT_TRUE(r.answer.empty());
  EXPECT_EQ(Send({'D', 0, 0, 4}).answer, (Bytes{'D', 6}));
  EXPECT_EQ(Send({'A', 1}).answer, (Bytes{'S', 9}));  // a key frame is refused with an 'S' answer
  r = Send({'A', 1});
  EXPECT_EQ(r.hostResult, 32);
  EXPECT_EQ(r.answer[0], 'S');
  EXPECT_EQ(Send({'T'}).hostResult, kHostOk);  // each fault plays once
}

TEST_F(SimulatorRegisterTest, LetterShortDelayAndSilenceFaults) {
  reg_.AddFault({FaultKind::AnswerLetter, 'S'});
  reg_.AddFault({FaultKind::ShortAnswer, 40});
  reg_.AddFault({FaultKind::Delay, 250});
  reg_.AddFault({FaultKind::NoAnswer});
  const Bytes identity = Send({'T'}).answer;  // wrong letter, otherwise the identity
  EXPECT_EQ(identity[0], 'S');
  EXPECT_EQ(identity.size(), 96u);
  const Bytes shortened = Send({'T'}).answer;
  ASSERT_EQ(shortened.size(), 40u);
  EXPECT_EQ(shortened[0], 'T');
  EXPECT_TRUE(std::equal(shortened.begin() + 1, shortened.end(), identity.begin() + 1));
  const Reply delayed = Send({'S'});
  EXPECT_EQ(delayed.delayMs, 250);
  EXPECT_EQ(delayed.answer[0], 'S');
  EXPECT_FALSE(Send({'S'}).answered);
  ASSERT_EQ(reg_.Log().size(), 4u);
  EXPECT_FALSE(reg_.Log().back().reply.answered);
}

TEST_F(SimulatorRegisterTest, CriticalStateLastsUntilTheClearKey) {
  reg_.AddFault({FaultKind::CriticalState, 0x21});
  Reply r = Send({'A', 5});
  EXPECT_EQ(r.hostResult, kHostCritical);
  EXPECT_EQ(r.answer[2], 0x21);
  EXPECT_EQ(r.answer[1] & 0x04, 0x04);  // not ready: the host asks its own status
  EXPECT_EQ(Send({'S'}).answer[2], 0x21);
  EXPECT_EQ(Send({'A', 5}).hostResult, kHostCritical);
  r = Send({'A', 0});
  EXPECT_EQ(r.hostResult, kHostOk);
  EXPECT_EQ(r.answer[2], 0);
  EXPECT_EQ(r.answer[1] & 0x04, 0);
}

TEST_F(SimulatorRegisterTest, SkippedFramesAreAnsweredNormallyBeforeTheFaultPlays) {
  reg_.AddFault({FaultKind::HostResult, 2, 0, 2});
  EXPECT_EQ(Send({'S'}).hostResult, kHostOk);
  EXPECT_EQ(Send({'S'}).hostResult, kHostOk);
  EXPECT_EQ(Send({'S'}).hostResult, 2);
  EXPECT_EQ(reg_.PendingFaults(), 0u);
}

TEST_F(SimulatorRegisterTest, FaultQueueAndLogAreBounded) {
  for (std::size_t i = 0; i < kMaxPendingFaults; ++i) EXPECT_TRUE(reg_.AddFault({FaultKind::Delay, 1}));
  EXPECT_FALSE(reg_.AddFault({FaultKind::Delay, 1}));
  reg_.ClearFaults();
  for (std::size_t i = 0; i < kMaxLoggedFrames + 3; ++i) Send({'S'});
  EXPECT_EQ(reg_.Log().size(), kMaxLoggedFrames);
  EXPECT_EQ(reg_.Log().front().index, 4u);
}

TEST(SimulatorTest, AbsentRegistersStaySilentAndNumbersAreChecked) {
  Simulator sim;
  EXPECT_FALSE(sim.AddRegister(0, RegisterConfig{}));
  EXPECT_FALSE(sim.AddRegister(25, RegisterConfig{}));
  EXPECT_TRUE(sim.AddRegister(24, *BuiltInConfig("s12")));
  EXPECT_FALSE(sim.Exchange(1, Bytes{'S'}).answered);
  EXPECT_TRUE(sim.Exchange(24, Bytes{'S'}).answered);
  EXPECT_EQ(sim.RegisterNumbers(), std::vector<int>{24});
  EXPECT_FALSE(sim.QueueEvent({3, 1, {}}));
  EXPECT_FALSE(sim.QueueEvent({24, 1, Bytes(kMaxEventBytes + 1)}));
  EXPECT_TRUE(sim.QueueEvent({24, 1, {1, 2}}));
  EXPECT_EQ(sim.TakeEvents().size(), 1u);
  EXPECT_TRUE(sim.TakeEvents().empty());
}

}  // namespace
}  // namespace ecrsim
