#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "wire/wire.h"

namespace ecrwire {
namespace {

Message Sample(MessageType type, std::size_t payloadBytes) {
  Message m;
  m.type = type;
  m.ecr = 17;
  m.seq = 0xBEEF;
  m.code = 11;
  m.detail = 200;
  for (std::size_t i = 0; i < payloadBytes; ++i) m.payload.push_back(static_cast<std::uint8_t>(i * 37));
  return m;
}

std::vector<std::uint8_t> Encoded(const Message& m) {
  std::vector<std::uint8_t> bytes;
  EXPECT_TRUE(Encode(m, bytes));
  return bytes;
}

void ExpectSame(const Message& a, const Message& b) {
  EXPECT_EQ(a.type, b.type);
  EXPECT_EQ(a.ecr, b.ecr);
  EXPECT_EQ(a.seq, b.seq);
  EXPECT_EQ(a.code, b.code);
  EXPECT_EQ(a.detail, b.detail);
  EXPECT_EQ(a.payload, b.payload);
}

// Everything the decoder gives until it needs more: messages and drop reasons.
struct Drained {
  std::vector<Message> messages;
  std::vector<std::string> drops;
};
Drained Drain(Decoder& decoder) {
  Drained out;
  Message m;
  std::string reason;
  for (;;) {
    const auto result = decoder.Next(m, reason);
    if (result == Decoder::Result::NeedMore) return out;
    if (result == Decoder::Result::Message) out.messages.push_back(m);
    if (result == Decoder::Result::Dropped) out.drops.push_back(reason);
  }
}

TEST(SimulatorWireTest, ChecksumIsCrc16CcittFalse) {
  const std::string check = "123456789";
  EXPECT_EQ(Crc16({reinterpret_cast<const std::uint8_t*>(check.data()), check.size()}), 0x29B1);
}

TEST(SimulatorWireTest, EveryTypeAndPayloadSizeSurvivesTheRoundTrip) {
  for (MessageType type :
       {MessageType::Request, MessageType::Answer, MessageType::Event, MessageType::Service}) {
    for (std::size_t size : {std::size_t{0}, std::size_t{1}, std::size_t{130}, kMaxPayload}) {
      const Message sent = Sample(type, size);
      Decoder decoder;
      decoder.Feed(Encoded(sent));
      const Drained got = Drain(decoder);
      ASSERT_EQ(got.messages.size(), 1u);
      EXPECT_TRUE(got.drops.empty());
      ExpectSame(got.messages[0], sent);
      EXPECT_EQ(decoder.Buffered(), 0u);
    }
  }
}

TEST(SimulatorWireTest, LayoutIsLittleEndianWithTheBodyLengthFirst) {
  Message m = Sample(MessageType::Answer, 2);
  const auto bytes = Encoded(m);
  ASSERT_EQ(bytes.size(), 3u + 6 + 2 + 2);
  EXPECT_EQ(bytes[0], kMagic);
  EXPECT_EQ(bytes[1], 8);  // body: 6 fixed bytes and 2 of payload
  EXPECT_EQ(bytes[2], 0);
  EXPECT_EQ(bytes[3], 2);     // type answer
  EXPECT_EQ(bytes[4], 17);    // register
  EXPECT_EQ(bytes[5], 0xEF);  // sequence, low byte first
  EXPECT_EQ(bytes[6], 0xBE);
}

TEST(SimulatorWireTest, PayloadLongerThanAFrameIsRefused) {
  std::vector<std::uint8_t> out = {1, 2};
  EXPECT_FALSE(Encode(Sample(MessageType::Request, kMaxPayload + 1), out));
  EXPECT_EQ(out, (std::vector<std::uint8_t>{1, 2}));
}

TEST(SimulatorWireTest, MessagesSplitAnywhereOrGluedTogetherDecode) {
  std::vector<std::uint8_t> stream = Encoded(Sample(MessageType::Request, 5));
  const auto second = Encoded(Sample(MessageType::Event, 300));
  stream.insert(stream.end(), second.begin(), second.end());
  Decoder decoder;
  std::vector<Message> got;
  for (std::uint8_t byte : stream) {
    decoder.Feed({&byte, 1});
    for (Message& m : Drain(decoder).messages) got.push_back(m);
  }
  ASSERT_EQ(got.size(), 2u);
  EXPECT_EQ(got[1].payload.size(), 300u);
}

TEST(SimulatorWireTest, DamagedInputIsDroppedAndTheNextGoodMessageStillArrives) {
  const Message good = Sample(MessageType::Request, 4);
  std::vector<std::uint8_t> corrupt = Encoded(good);
  corrupt[8] ^= 0x01;  // a payload bit: checksum mismatch
  std::vector<std::uint8_t> unknownType = Encoded(Sample(MessageType::Request, 1));
  unknownType[3] = 9;
  // Recompute the checksum so only the type is wrong.
  const std::uint16_t crc = Crc16({unknownType.data() + 3, unknownType.size() - 5});
  unknownType[unknownType.size() - 2] = static_cast<std::uint8_t>(crc);
  unknownType[unknownType.size() - 1] = static_cast<std::uint8_t>(crc >> 8);

  std::vector<std::uint8_t> stream = {'x', 'y', 'z'};  // noise
  stream.insert(stream.end(), {kMagic, 0xFF, 0xFF});   // impossible length
  stream.insert(stream.end(), corrupt.begin(), corrupt.end());
  stream.insert(stream.end(), unknownType.begin(), unknownType.end());
  const auto goodBytes = Encoded(good);
  stream.insert(stream.end(), goodBytes.begin(), goodBytes.end());

  Decoder decoder;
  decoder.Feed(stream);
  const Drained got = Drain(decoder);
  ASSERT_EQ(got.messages.size(), 1u);
  ExpectSame(got.messages[0], good);
  auto mentions = [&](const std::string& word) {
    for (const auto& d : got.drops)
      if (d.find(word) != std::string::npos) return true;
    return false;
  };
  EXPECT_TRUE(mentions("outside any message"));
  EXPECT_TRUE(mentions("impossible body length"));
  EXPECT_TRUE(mentions("checksum"));
  EXPECT_TRUE(mentions("unknown message type 9"));
  EXPECT_EQ(decoder.Buffered(), 0u);
}

TEST(SimulatorWireTest, TruncatedMessageWaitsForTheRest) {
  const auto bytes = Encoded(Sample(MessageType::Answer, 20));
  Decoder decoder;
  decoder.Feed({bytes.data(), bytes.size() - 1});
  EXPECT_TRUE(Drain(decoder).messages.empty());
  decoder.Feed({bytes.data() + bytes.size() - 1, 1});
  EXPECT_EQ(Drain(decoder).messages.size(), 1u);
}

}  // namespace
}  // namespace ecrwire
