// Commands 1 and 2 against a simulated register: the register ends in its
// programming position with the function open, takes the 'O' 14 record only
// where it has the function, and the session state later commands see follows
// what the register really took.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "commands/session/select_ecr.h"
#include "definition_text.h"
#include "keyboard/key_interpreter.h"
#include "language/definition_file.h"
#include "run/command_executor.h"
#include "run/key_batch_sender.h"
#include "sim_host.h"

namespace quadrel {
namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr int kNonOk = 16;
constexpr int kEcrNotIdle = 6;
constexpr int kProgSessionNotOpen = 7;
constexpr int kFeatureOutputSetting = 103;

class ProgSessionSim : public test_support::WithShippedDefinitions<> {
 protected:
  void SetUp() override {
    host_.sim.AddRegister(1, *ecrsim::BuiltInConfig("t72"));
    host_.Install();
  }
  void TearDown() override { ResetProcessState(); }

  static int Run(const std::string& line) { return SendKeyBatch(TradExecCommand(line), nullptr, 0); }

  ecrsim::SimRegister& Reg() { return *host_.sim.Find(1); }
  std::vector<Bytes> FramesAfter(std::size_t first) {
    std::vector<Bytes> frames;
    const auto& log = Reg().Log();
    for (std::size_t i = first; i < log.size(); ++i) frames.push_back(log[i].frame);
    return frames;
  }
  // Whether a programming command gets past the session check (its own
  // result, whatever it is, is not 7).
  static bool ProgrammingAllowed() { return Run("#31") != kProgSessionNotOpen; }

  SimHost host_;
};

TEST_F(ProgSessionSim, OpeningWithTheFunctionLeavesTheRegisterInsideItUntilClosing) {
  ASSERT_EQ(Run("SELEZIONA CASSA=1"), 0);
  EXPECT_FALSE(ProgrammingAllowed());
  const std::size_t before = Reg().Log().size();

  ASSERT_EQ(Run("APRIPROG FUNZIONE"), 0);
  EXPECT_EQ(FramesAfter(before), (std::vector<Bytes>{{'S'}, {'A', 0, 0, 4, 14}, {'A', 2, 145}}));
  EXPECT_EQ(Reg().Status().keyPosition, ecrsim::kProgrammingPosition);
  EXPECT_EQ(Reg().keyboard.openFunction, 2);
  EXPECT_EQ(Executor().ProgSessionState, 1);
  EXPECT_TRUE(ProgrammingAllowed());

  // The register is inside its function, not idle: closing ends it.
  ASSERT_EQ(Run("CHIUDIPROG"), 0);
  EXPECT_EQ(Reg().Log().back().frame, (Bytes{'A', 146}));
  EXPECT_EQ(Reg().keyboard.openFunction, 0);
  EXPECT_EQ(Reg().Status().state & 1, 1);
  EXPECT_FALSE(ProgrammingAllowed());

  // Closing an idle register sends no key.
  ASSERT_EQ(Run("APRIPROG"), 0);
  EXPECT_TRUE(ProgrammingAllowed());
  const std::size_t open = Reg().Log().size();
  ASSERT_EQ(Run("CHIUDIPROG"), 0);
  EXPECT_EQ(FramesAfter(open), (std::vector<Bytes>{{'S'}}));
  EXPECT_FALSE(ProgrammingAllowed());
}

TEST_F(ProgSessionSim, ASelectionEndsTheSession) {
  ASSERT_EQ(Run("APRIPROG"), 0);
  EXPECT_TRUE(ProgrammingAllowed());
  ASSERT_EQ(Run("SELEZIONA CASSA=1, CACHE"), 0);
  EXPECT_FALSE(ProgrammingAllowed());
}

TEST_F(ProgSessionSim, AFunctionTheRegisterLacksLeavesTheSessionClosed) {
  Reg().keyboard.programmingFunction = 3;
  EXPECT_EQ(Run("APRIPROG FUNZIONE"), kNonOk);
  EXPECT_EQ(Executor().ProgSessionState, 0);
  EXPECT_FALSE(ProgrammingAllowed());
  // The sender recovered the register: clear key, then the confirm key of a session.
  const auto& log = Reg().Log();
  ASSERT_GE(log.size(), 3u);
  EXPECT_EQ(log[log.size() - 3].frame, (Bytes{'A', 2, 145}));
  EXPECT_EQ(log[log.size() - 3].reply.hostResult, ecrsim::kHostCritical);
  EXPECT_EQ(log[log.size() - 2].frame, (Bytes{'A', 0}));
  EXPECT_EQ(log[log.size() - 1].frame, (Bytes{'A', 145}));
  EXPECT_EQ(Reg().Status().critical, 0);
  EXPECT_EQ(Reg().keyboard.openFunction, 0);
}

TEST_F(ProgSessionSim, ARegisterInsideATransactionGets6AndNoKeys) {
  Reg().Status().transaction = 0x01;
  const std::size_t before = Reg().Log().size();
  EXPECT_EQ(Run("APRIPROG FUNZIONE"), kEcrNotIdle);
  EXPECT_EQ(FramesAfter(before), (std::vector<Bytes>{{'S'}}));
  EXPECT_EQ(Reg().Status().keyPosition, ecrsim::kRegPosition);
  EXPECT_FALSE(ProgrammingAllowed());
}

TEST_F(ProgSessionSim, OutputBitsReachOnlyARegisterWithTheFunction) {
  // t72 lacks the function: no 'O' 14 record is sent.
  ASSERT_EQ(Run("APRIPROG USCITA=13"), 0);
  for (const auto& entry : Reg().Log()) EXPECT_NE(entry.frame, (Bytes{'O', 14, 13 & 7}));
  EXPECT_EQ(Reg().outputBits, 0);

  Reg().EditConfig().SetFeatureLevel(kFeatureOutputSetting, 1);
  ASSERT_EQ(Run("SELEZIONA CASSA=1"), 0);  // the translator learns the new level
  ASSERT_EQ(Run("APRIPROG USCITA=13"), 0);
  EXPECT_EQ(Reg().Log().back().frame, (Bytes{'O', 14, 13 & 7}));
  EXPECT_EQ(Reg().outputBits, 5);
  EXPECT_EQ(Executor().ProgSessionState, 1);
}

}  // namespace
}  // namespace quadrel
