// The simulator's record files at the frame level: frames that do not fit the
// geometry are refused, the combined write only where the register has it,
// and the control channel shows what is stored.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "control/control_commands.h"
#include "simulator.h"

namespace ecrsim {
namespace {

using Bytes = std::vector<std::uint8_t>;

// t72: 13-byte codes, a 47-byte article body, 5-byte amounts.
Bytes Frame(std::uint8_t byte1, std::uint8_t subCode, std::size_t keyBytes, std::size_t bodyBytes) {
  Bytes frame{'U', byte1, subCode};
  frame.resize(3 + keyBytes, '1');
  frame.resize(frame.size() + bodyBytes, 0);
  return frame;
}

TEST(SimulatorRecordFiles, FramesThatDoNotFitTheGeometryAreRefused) {
  Simulator sim;
  sim.AddRegister(1, *BuiltInConfig("t72"));
  SimRegister& reg = *sim.Find(1);
  const Bytes refused[] = {
      Frame(0, 2, 13, 46),          Frame(0, 2, 12, 0),  Frame(0, 6, 13, 47),  // the 6 lacks the width byte
      Frame(0, 27, 13, 47),                                                    // no combined write on t72
      Frame(0, 12, 2, 0),           Frame(0, 12, 2, 65), Frame(0, 18, 13, 1),
      Bytes{'U', 0, 12, 1, 0, 100},  // kind 100
  };
  for (const Bytes& frame : refused) {
    const Reply reply = reg.Exchange(frame);
    EXPECT_EQ(reply.hostResult, kHostRefused) << frame.size();
    EXPECT_EQ(reply.answer, (Bytes{'U', kRefuseUnknownFrame})) << frame.size();
  }
  EXPECT_TRUE(reg.records.articles.empty());
  EXPECT_TRUE(reg.records.oFile.empty());

  reg.EditConfig().SetFeatureLevel(92, 1);
  Bytes list = Frame(0x80, 27, 13, 0);
  list.insert(list.end(), {13, 2, 'A', 'B', 200, 1, 0});  // the second entry runs past the record
  EXPECT_EQ(reg.Exchange(list).hostResult, kHostRefused);
  list.resize(list.size() - 3);
  EXPECT_EQ(reg.Exchange(list).answer, (Bytes{'U', kRecordAccepted}));
  EXPECT_EQ(RunControlLine(sim, "record 1 article 31313131313131313131313131").substr(0, 10), "4142202020");
  EXPECT_EQ(RunControlLine(sim, "record 1 ofile 9"), "ERROR no O-file record 9\n");
  EXPECT_EQ(RunControlLine(sim, "record 1 article"),
            "ERROR usage: record N article HEXCODE | record N ofile NUMBER\n");
}

}  // namespace
}  // namespace ecrsim
