// Command 47 byte for byte against the scripted host: the card wait, the
// personalisation, value, amount and short frames, the sale records and the
// refusals that come before any card frame.
#include <gtest/gtest.h>

#include <cstddef>
#include <string>
#include <vector>

#include "command_fixture.h"

namespace quadrel {
namespace {

using quadrel_test::Bytes;
using quadrel_test::bytes;
using quadrel_test::status_idle;

constexpr int kNoCard = 1;
constexpr int kBlank = 10;
constexpr int kPersonalised = 0;

class ChipCard : public CommandLineTest {
 protected:
  void SetUp() override {
    CommandLineTest::SetUp();
    EcrRecord(1).AmountBytes = 4;
    EcrRecord(1).Decimals = 2;
    EcrRecord(1).Block3Word73 = 300;
  }
  void ExpectReader(int card) { host.expect(bytes({'C', 4})).answer(0, bytes({'C', card})); }
  void ExpectCardFrame(const Bytes& frame, int code = 0) { host.expect(frame).answer(0, bytes({'C', code})); }
  // Runs `line` after the executor's status frame; the frames it sent after that.
  std::vector<Bytes> Run(const std::string& line, int expected) {
    const std::size_t before = host.frames().size();
    EXPECT_EQ(RunLine(line), expected) << line;
    EXPECT_EQ(host.pending(), 0) << line;
    const std::vector<Bytes> all = host.frame_bytes();
    return {all.begin() + static_cast<std::ptrdiff_t>(before) + 1, all.end()};
  }
  void Status() { host.expect("S").answer(0, status_idle()); }
};

TEST_F(ChipCard, PersonalDataCarriesTheCreditOnlyForType2OrModel6) {
  struct Row {
    int type;
    char model;
    std::size_t size;
  } rows[] = {{1, 'X', 70}, {2, 'X', 75}, {1, '6', 75}};
  for (const Row& row : rows) {
    EcrRecord(1).ModelLetter = row.model;
    Status();
    ExpectReader(kBlank);
    host.expect("C").answer(0, bytes({'C', 0}));
    host.expect("C").answer(0, bytes({'C', 0}));
    const std::string line = "#47 #1=1, #2=" + std::to_string(row.type) +
                             ", #3='AB', #4='NAME', #5=12.5, #7='0a0B0c', #8=7, #19=3.5, #20, #9='LINE'";
    const std::vector<Bytes> sent = Run(line, 0);
    ASSERT_EQ(sent.size(), 3u);
    const Bytes& data = sent[1];
    ASSERT_EQ(data.size(), row.size) << row.type << row.model;
    EXPECT_EQ(Bytes(data.begin(), data.begin() + 7), bytes({'C', 6, row.type, 1, 0, 0, 0}));
    EXPECT_EQ(std::string(data.begin() + 7, data.begin() + 33), "        ABNAME            ");
    EXPECT_EQ(Bytes(data.begin() + 33, data.begin() + 42), bytes({1, 0, 0x12, 0x50, 1, 0x0A, 0x0B, 0x0C, 7}));
    EXPECT_EQ(Bytes(data.begin() + 42, data.begin() + 50), Bytes(8, 0));
    EXPECT_EQ(std::string(data.begin() + 50, data.begin() + 70), std::string(20, ' '));
    if (row.size == 75) {
      EXPECT_EQ(Bytes(data.begin() + 70, data.end()), bytes({0, 0, 0, 0x03, 0x50}));
    }
    const Bytes& lines = sent[2];
    ASSERT_EQ(lines.size(), 122u);
    EXPECT_EQ(std::string(lines.begin() + 2, lines.begin() + 32), "LINE" + std::string(26, ' '));
    EXPECT_EQ(std::string(lines.begin() + 32, lines.end()), std::string(90, ' '));
    EXPECT_EQ(host.frames().back().mode, 11);  // exchange flags 9
    EXPECT_EQ(host.frames()[host.frames().size() - 2].mode, 3);
  }
}

TEST_F(ChipCard, TheCardStateDecidesBeforeAnyDataIsWritten) {
  Status();
  ExpectReader(kPersonalised);
  Run("#47 #1=1, #2=0", 26);
  Status();
  ExpectReader(5);
  Run("#47 #1=1, #2=0", 25);
  Status();
  ExpectReader(kNoCard);  // one reader query, no waiting
  Run("#47 #1=8", 25);
  Status();
  ExpectReader(kBlank);
  ExpectCardFrame(bytes({'C', 26, 0x12, 0x34}), 3);  // the reader's refusal
  Run("#47 #1=8, #13=1234", 25);
}

TEST_F(ChipCard, AmountsValuesAndShortFrames) {
  struct Row {
    std::string line;
    Bytes frame;
  } rows[] = {
      {"#47 #1=6, #21=-3, #22=45, #23=-12",
       bytes({'C', 27, 0, 0, 2, 0xD0, 0, 0, 3, 0, 0, 0, 0x45, 0xD0, 0, 0x12})},
      {"#47 #1=4, #21=-3, #13=7", bytes({'C', 27, 0, 7, 0, 0, 0, 0, 3, 0, 0, 0, 0, 0, 0, 0})},
      {"#47 #1=4, #21=123", bytes({'C', 27, 0, 0, 0, 0, 0, 1, 0x23, 0, 0, 0, 0, 0, 0, 0})},
      {"#47 #1=7, #21=12345678, #23=999999",
       bytes({'C', 27, 0, 0, 3, 0x12, 0x34, 0x56, 0x78, 0, 0, 0, 0, 0x99, 0x99, 0x99})},
      {"#47 #1=9, #13=42", bytes({'C', 25, 0, 0x42})},
      {"#47 #1=10", bytes({'C', 28, 0, 0})},
  };
  for (const Row& row : rows) {
    Status();
    ExpectReader(kPersonalised);
    ExpectCardFrame(row.frame);
    Run(row.line, 0);
  }
  Status();
  ExpectCardFrame(bytes({'C', 14, 0x2C, 0x01, 0x01, 0x23, 0x45, 0x67, 0x89}));  // no card wait
  Run("#47 #1=3, #16=300, #15=123456789", 0);
}

TEST_F(ChipCard, OutOfLimitFieldsAreRefusedBeforeAnyCardFrame) {
  for (const char* line : {
           "#47 #1=11", "#47 #1=1, #2", "#47 #1=8, #13=10000", "#47 #1=8, #13='ab'",
           "#47 #1=1, #2=4", "#47 #1=1, #2=0, #7='ABC'", "#47 #1=1, #2=0, #7='ABCDEG'",
           "#47 #1=1, #2=0, #5=100", "#47 #1=1, #2=0, #5=1.234", "#47 #1=1, #2=0, #6=5",
           "#47 #1=1, #2=0, #3='12345678901'", "#47 #1=1, #2=2, #19=123456789.5", "#47 #1=1, #2=0, #9",
           "#47 #1=5, #21=-3", "#47 #1=4, #22=-3", "#47 #1=6, #21=123456789", "#47 #1=6, #23=1234567",
           "#47 #1=6, #21='1.5'", "#47 #1=3, #16=301, #15=1", "#47 #1=3, #16=1, #15=12345678901",
           "#47 #1=3, #16=1, #15=1, #6", "#47 #1=2, #17=-5"}) {
    Status();
    Run(line, 265);
  }
  for (const char* line : {"#47 #1=1", "#47 #1=2", "#47 #1=3, #16=1"}) {
    Status();
    Run(line, 266);
  }
}

TEST_F(ChipCard, AStateOrKeyPositionThatDoesNotFitIsRefused) {
  host.expect("S").answer(0, quadrel_test::status_answer(2));
  Run("#47 #1=8", 6);
  host.expect("S").answer(0, quadrel_test::status_answer(1, 0, 0, 2));
  Run("#47 #1=2, #17=5", 8);
}

TEST_F(ChipCard, ASaleWithTheCardQueuesItsKeys) {
  Status();
  ExpectReader(kPersonalised);
  host.expect(bytes({'A', 0, 0, 1, 148, 145})).answer(0, status_idle());
  host.expect(bytes({'A', 28})).answer(0, status_idle());
  host.expect(bytes({'A', 1, 2, 10, 49})).answer(0, status_idle());
  Run("#47 #1=2, #17=120, #18", 0);
}

}  // namespace
}  // namespace quadrel
