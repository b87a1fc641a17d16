// Commands 43 and 54 (key codes and macro sequences) and command 33 (one VAT
// rate through the programming keys), byte for byte against the scripted host.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "command_fixture.h"

namespace quadrel {
namespace {

using quadrel_test::Bytes;
using quadrel_test::bytes;
using quadrel_test::status_idle;

// A key record that moves `count` fields on.
Bytes Skips(int count) {
  Bytes record(count + 1, 145);
  record[0] = 'A';
  return record;
}

class KeyAndVatProgramming : public CommandLineTest {
 protected:
  void SetUp() override {
    CommandLineTest::SetUp();
    EcrRecord(1).Block4Byte43 = 4;
  }
  // The executor's status frame, then each frame answered with its own letter.
  int RunFrames(const std::string& line, const std::vector<Bytes>& frames, bool statusFirst = true) {
    if (statusFirst) host.expect("S").answer(0, status_idle());
    for (const Bytes& frame : frames) host.expect(frame).answer(0, bytes({frame[0]}));
    return RunLine(line);
  }
};

TEST_F(KeyAndVatProgramming, KeyCodesAndMacroSequences) {
  struct Row {
    std::string line;
    std::vector<Bytes> frames;
  } rows[] = {
      {"#43 #1=7, #2=205, #3='1 2 255 '", {bytes({'C', 0, 7, 205}), bytes({'C', 1, 6, 1, 2})}},
      {"#43 #1=7, #2=205, #3='1 2 255'", {bytes({'C', 0, 7, 205}), bytes({'C', 1, 6, 1, 2})}},
      {"#43 #1=80, #2=239, #3='255 9'", {bytes({'C', 0, 80, 239}), bytes({'C', 1, 40, 255, 9})}},
      {"#43 #1=1, #2=240, #3='1 2'", {bytes({'C', 0, 1, 240})}},
      {"#43 #1=1, #2=200, #3=''", {bytes({'C', 0, 1, 200})}},
      {"#43 #1=1, #2=0", {bytes({'C', 0, 1, 0})}},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(RunFrames(row.line, row.frames), 0) << row.line;
    EXPECT_EQ(host.pending(), 0) << row.line;
  }
  EcrRecord(1).FeatureLevels[95] = 1;
  EXPECT_EQ(RunFrames("#54 #1=3, #2=201, #3='4'", {bytes({'C', 9, 3, 201}), bytes({'C', 1, 2, 4})}), 0);
}

TEST_F(KeyAndVatProgramming, KeyFieldsOutOfRangeAreRefusedBeforeAnyKeyFrame) {
  struct Row {
    std::string line;
    int result;
  } rows[] = {
      {"#43 #2=5", 266},          {"#43 #1=5", 266},           {"#43 #1=0, #2=5", 265},
      {"#43 #1=81, #2=5", 265},   {"#43 #1, #2=5", 265},       {"#43 #1=5, #2=256", 265},
      {"#43 #1=5, #2=-1", 265},   {"#43 #1=5, #2", 265},       {"#54 #1=5, #2=5", 5},
  };
  for (const Row& row : rows) {
    // A missing required field is the parser's refusal, before the status frame.
    EXPECT_EQ(RunFrames(row.line, {}, row.result != 266), row.result) << row.line;
    EXPECT_EQ(host.pending(), 0) << row.line;
  }
  // A bad macro value is found after the key frame went.
  EXPECT_EQ(RunFrames("#43 #1=5, #2=210, #3='1 256'", {bytes({'C', 0, 5, 210})}), 265);
}

TEST_F(KeyAndVatProgramming, VatRateSlotsOnModelMAndOtherModels) {
  const Bytes open = bytes({'A', 3, 147, 145});
  const Bytes rate = bytes({'A', 1, 2, 13, 5, 145});  // 12.5
  const Bytes end = bytes({'A', 146});
  Executor().ProgSessionState = 1;
  struct Row {
    char model;
    std::string line;
    std::vector<Bytes> records;
  } rows[] = {
      {'M', "#33 #2=12.5, #5=2", {open, Skips(5), rate, end}},
      {'M', "#33 #2=12.5, #6=1", {open, Skips(11), rate, end}},
      {'M', "#33 #1=1, #2=12.5", {open, rate, end}},
      {'X', "#33 #1=2", {open, Skips(1), Skips(1), end}},
  };
  for (const Row& row : rows) {
    EcrRecord(1).ModelLetter = row.model;
    host.expect("S").answer(0, status_idle());
    for (const Bytes& record : row.records) host.expect(record).answer(0, status_idle());
    EXPECT_EQ(RunLine(row.line), 0) << row.line;
    EXPECT_EQ(host.pending(), 0) << row.line;
  }
}

TEST_F(KeyAndVatProgramming, VatRateSlotsOutsideTheRegistersRatesAreRefused) {
  Executor().ProgSessionState = 1;
  struct Row {
    char model;
    std::string line;
  } rows[] = {
      {'M', "#33 #2=10"},       {'M', "#33 #1=5, #2=10"}, {'M', "#33 #5=8"},       {'M', "#33 #6=5"},
      {'X', "#33 #2=10, #5=2"}, {'X', "#33 #1=5"},        {'X', "#33 #1=-1"},      {'X', "#33 #1=1, #2=-10"},
      {'X', "#33 #1=1, #2"},
  };
  for (const Row& row : rows) {
    EcrRecord(1).ModelLetter = row.model;
    host.expect("S").answer(0, status_idle());
    EXPECT_EQ(RunLine(row.line), 265) << row.line;
    EXPECT_EQ(host.pending(), 0) << row.line;
  }
}

}  // namespace
}  // namespace quadrel
