// Command 29 byte for byte against the scripted host: the slave-mode query
// and its recovery through key position 14, the on/off, text and output frames.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "command_fixture.h"

namespace quadrel {
namespace {

using quadrel_test::Bytes;
using quadrel_test::bytes;
using quadrel_test::status_idle;

const Bytes kQuery = bytes({'U', 0, 23});

class SlaveMode : public CommandLineTest {
 protected:
  void ExpectFrame(const Bytes& frame) { host.expect(frame).answer(0, bytes({frame[0]})); }
  void ExpectRefusedQuery() { host.expect(kQuery).answer(8, bytes({'U', 4})); }
  // The nested "#9 #4=14": its status frame and its key record.
  void ExpectKeyPosition14() {
    host.expect("S").answer(0, status_idle());
    host.expect(bytes({'A', 14})).answer(0, status_idle());
  }
};

TEST_F(SlaveMode, OnOffTextAndOutputFrames) {
  struct Row {
    std::string line;
    int features;  // FeatureLevels[1] and [103] set
    std::vector<Bytes> frames;
  } rows[] = {
      {"#29 #4=13", 1, {kQuery, bytes({'O', 14, 5})}},
      {"#29 #4=5", 0, {kQuery}},
      {"#29 #1=1, #3='AB'", 0, {kQuery, bytes({'H', 1}), bytes({'H', 2, 'A', 'B', 0, 0})}},
      {"#29 #1=1, #3='AB'", 1, {kQuery, bytes({'H', 1}), bytes({'H', 2, 0, 'A', 'B', 0})}},
      {"#29 #2=1, #3='AB'", 0, {kQuery, bytes({'H', 0}), bytes({'H', 2, 'A', 'B', 0, 0})}},
      {"#29 #3='AB'", 0, {kQuery}},
  };
  for (const Row& row : rows) {
    EcrRecord(1).FeatureLevels[1] = EcrRecord(1).FeatureLevels[103] = static_cast<std::uint8_t>(row.features);
    host.expect("S").answer(0, status_idle());
    for (const Bytes& frame : row.frames) ExpectFrame(frame);
    EXPECT_EQ(RunLine(row.line), 0) << row.line;
    EXPECT_EQ(host.pending(), 0) << row.line;
  }
}

TEST_F(SlaveMode, TextsPastTheFrameLimitAndBadFlagsAreRefusedBeforeAnyFrame) {
  EcrRecord(1).FeatureLevels[103] = 1;
  for (const std::string& line : {"#29 #1=1, #3='" + std::string(509, 'A') + "'", std::string("#29 #4=-1"),
                                 std::string("#29 #4='x'")}) {
    host.expect("S").answer(0, status_idle());
    EXPECT_EQ(RunLine(line), 265) << line.substr(0, 20);
    EXPECT_EQ(host.pending(), 0);
  }
  host.expect("S").answer(0, status_idle());
  ExpectFrame(kQuery);
  ExpectFrame(bytes({'H', 1}));
  host.expect("H").answer(0, bytes({'H'}));
  EXPECT_EQ(RunLine("#29 #1=1, #3='" + std::string(508, 'A') + "'"), 0);
  EXPECT_EQ(host.frames().back().frame.size(), 512u);
}

TEST_F(SlaveMode, ARefusedQueryTurnsTheKeyAndTheCommandGoesOnWithItsOwnFields) {
  host.expect("S").answer(0, status_idle());
  ExpectRefusedQuery();
  ExpectKeyPosition14();
  ExpectFrame(kQuery);
  ExpectFrame(bytes({'H', 0}));
  EXPECT_EQ(RunLine("#29 #2=1"), 0);
  EXPECT_EQ(host.pending(), 0);

  // Another failure than the data error: no key turn.
  host.expect("S").answer(0, status_idle());
  host.expect(kQuery).answer(2, {}, 7);
  ExpectFrame(bytes({'H', 1}));
  EXPECT_EQ(RunLine("#29 #1=1"), 0);
  EXPECT_EQ(host.pending(), 0);
}

TEST_F(SlaveMode, FourRefusedQueriesGive8) {
  host.expect("S").answer(0, status_idle());
  ExpectRefusedQuery();
  ExpectKeyPosition14();
  ExpectRefusedQuery();
  ExpectKeyPosition14();
  host.expect(kQuery).answer(2, {}, 7);  // the third failure may be any
  ExpectKeyPosition14();
  ExpectRefusedQuery();
  EXPECT_EQ(RunLine("#29 #1=1"), 8);
  EXPECT_EQ(host.pending(), 0);
}

}  // namespace
}  // namespace quadrel
