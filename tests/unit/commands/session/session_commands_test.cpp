// Commands 8, 18, 1 and 2 through the executor and the key-batch sender with
// the definitions file we ship: their records byte for byte, the programming
// session they open and close, and what later commands see of it.
#include "commands/session/session_commands.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "definition_text.h"
#include "language/definition_file.h"
#include "run/command_executor.h"
#include "run/key_batch_sender.h"
#include "translator_fixture.h"

namespace quadrel {
namespace {

using quadrel_test::Bytes;
using quadrel_test::bytes;
using quadrel_test::status_answer;
using quadrel_test::status_idle;

constexpr int kNotIdleState = 0x02;

class SessionCommands : public test_support::WithShippedDefinitions<TranslatorTest> {
 protected:
  void SetUp() override {
    TranslatorTest::SetUp();
    // Register 1's configuration is in the cache: command 1 reads it without frames.
    EcrRecord(1).EcrNumber = 1;
    EcrRecord(1).ModelLimitB = 2;
  }

  // Runs a line and sends what it queued, as EcrCmd does.
  int Run(const std::string& line) { return SendKeyBatch(TradExecCommand(line), nullptr, 0); }

  // The status frame of the executor's check, answered as given.
  void ExpectStatus(const Bytes& answer = status_idle()) { host.expect("S").answer(0, answer); }

  std::vector<Bytes> Sent() const { return host.frame_bytes(); }
};

// ---- 8 and 18 ----

TEST_F(SessionCommands, ClearAndDollarKeysAreOneTwoByteRecordEach) {
  ExpectStatus();
  host.expect(bytes({'A', 0})).answer(0, status_idle());
  EXPECT_EQ(Run("CANCELLA"), 0);
  ExpectStatus();
  host.expect(bytes({'A', '$'})).answer(0, status_idle());
  EXPECT_EQ(Run("DOLLARO"), 0);
  EXPECT_EQ(Sent(), (std::vector<Bytes>{bytes({'S'}), bytes({'A', 0}), bytes({'S'}), bytes({'A', 0x24})}));
}

TEST_F(SessionCommands, AFailingClearOrDollarKeyReturnsItsOwnError) {
  for (const char* line : {"CANCELLA", "DOLLARO"}) {
    ExpectStatus();
    host.expect("A").answer(1, {}, 7);
    // The record's own error, not the 16 of a batch that goes on past it.
    EXPECT_EQ(Run(line), 512 + 7) << line;
    EXPECT_EQ(Executor().StopOnRecordError, 1) << line;
  }
}

TEST_F(SessionCommands, ClearKeyNeedsASelectedRegister) {
  SelectedEcr() = 0;
  EXPECT_EQ(Run("CANCELLA"), 27);
  EXPECT_TRUE(host.frames().empty());
}

// ---- 1: opening ----

TEST_F(SessionCommands, OpeningPutsTheRegisterIntoItsProgrammingPosition) {
  ExpectStatus();
  host.expect(bytes({'A', 0, 0, 4, 14})).answer(0, status_idle());
  EXPECT_EQ(TradExecCommand("APRIPROG"), 0);
  EXPECT_EQ(Executor().ProgSessionState, -1);  // queued, not yet sent
  EXPECT_EQ(SendKeyBatch(0, nullptr, 0), 0);
  EXPECT_EQ(Executor().ProgSessionState, 1);
  EXPECT_FALSE(Library().progFunctionKeyed);
  EXPECT_EQ(Sent().size(), 2u);
}

TEST_F(SessionCommands, TheFunctionFlagKeysInTheProgrammingFunctionNumber) {
  ExpectStatus();
  host.expect(bytes({'A', 0, 0, 4, 14})).answer(0, status_idle());
  host.expect(bytes({'A', 2, 145})).answer(0, status_idle());
  EXPECT_EQ(Run("APRIPROG FUNZIONE"), 0);
  EXPECT_TRUE(Library().progFunctionKeyed);
  EXPECT_EQ(Executor().ProgSessionState, 1);
}

TEST_F(SessionCommands, OutputBitsGoInAnO14RecordOnlyWhereTheRegisterHasTheFunction) {
  EcrRecord(1).FeatureLevels[103] = 1;
  ExpectStatus();
  host.expect(bytes({'A', 0, 0, 4, 14})).answer(0, status_idle());
  host.expect(bytes({'O', 14, 13 & 7})).answer(0, bytes({'O'}));
  EXPECT_EQ(Run("APRIPROG USCITA=13"), 0);
  EXPECT_EQ(Executor().ProgSessionState, 1);

  EcrRecord(1).FeatureLevels[103] = 0;
  ExpectStatus();
  host.expect(bytes({'A', 0, 0, 4, 14})).answer(0, status_idle());
  EXPECT_EQ(Run("APRIPROG USCITA=13"), 0);

  // The 'O' record is answered with its own letter, not a status answer.
  EcrRecord(1).FeatureLevels[103] = 2;
  ExpectStatus();
  host.expect(bytes({'A', 0, 0, 4, 14})).answer(0, status_idle());
  host.expect(bytes({'O', 14, 0})).answer(0, status_idle());
  EXPECT_EQ(Run("APRIPROG USCITA=8"), 16);
}

TEST_F(SessionCommands, OutputBitsThatAreNotANumberAreRefusedBeforeAnythingIsQueued) {
  ExpectStatus();
  EXPECT_EQ(Run("APRIPROG USCITA"), 22);
  ExpectStatus();
  EXPECT_EQ(Run("APRIPROG USCITA='5x'"), 22);
  EXPECT_EQ(Executor().ProgSessionState, 0);
  EXPECT_EQ(Sent().size(), 2u);
}

TEST_F(SessionCommands, ARegisterThatIsNotIdleGets6AndNothingIsSent) {
  const Bytes notIdle[] = {status_answer(kNotIdleState), status_answer(1, 0, 0x01),
                           status_answer(1, 0, 0x20)};
  for (const Bytes& status : notIdle) {
    ExpectStatus(status);
    EXPECT_EQ(Run("APRIPROG FUNZIONE"), 6);
    EXPECT_EQ(Executor().ProgSessionState, 0);
    EXPECT_FALSE(Library().progFunctionKeyed);
  }
  EXPECT_EQ(Sent().size(), 3u);  // the three status frames only
}

TEST_F(SessionCommands, AConfigurationReadErrorIsReturned) {
  EcrRecord(1).EcrNumber = 0;
  ExpectStatus();
  host.expect("T").answer(1, {}, 3);
  EXPECT_EQ(Run("APRIPROG"), 4);
  EXPECT_EQ(Executor().ProgSessionState, 0);
}

// ---- 2: closing ----

TEST_F(SessionCommands, ClosingLeavesProgrammingUnlessTheRegisterIsIdle) {
  Executor().ProgSessionState = 1;
  Library().progFunctionKeyed = true;
  ExpectStatus(status_answer(kNotIdleState));
  host.expect(bytes({'A', 146})).answer(0, status_idle());
  EXPECT_EQ(Run("CHIUDIPROG"), 0);
  EXPECT_EQ(Executor().ProgSessionState, 0);
  EXPECT_FALSE(Library().progFunctionKeyed);

  // On an idle register nothing is queued and the session still closes.
  Executor().ProgSessionState = 1;
  ExpectStatus();
  EXPECT_EQ(Run("CHIUDIPROG"), 0);
  EXPECT_EQ(Executor().ProgSessionState, 0);
  EXPECT_EQ(Sent(), (std::vector<Bytes>{bytes({'S'}), bytes({'A', 0x92}), bytes({'S'})}));
}

// ---- the session seen by the programming commands ----

TEST_F(SessionCommands, ProgrammingCommandsRunOnlyWhileTheSessionIsOpen) {
  for (int command = 31; command <= 42; ++command)
    EXPECT_EQ(Run("#" + std::to_string(command)), 7) << command;

  // Queued but failed at the executor's check: still closed.
  host.expect("S").answer(1, {}, 5);
  EXPECT_EQ(Run("APRIPROG"), 512 + 5);
  EXPECT_EQ(Run("REPARTO"), 7);

  ExpectStatus();
  host.expect(bytes({'A', 0, 0, 4, 14})).answer(0, status_idle());
  ASSERT_EQ(Run("APRIPROG"), 0);
  ExpectStatus();
  EXPECT_EQ(Run("#42"), 268);  // past the session check; 42 has no handler

  ExpectStatus(status_answer(kNotIdleState));
  host.expect(bytes({'A', 146})).answer(0, status_idle());
  EXPECT_EQ(Run("CHIUDIPROG"), 0);
  EXPECT_EQ(Run("#42"), 7);
  EXPECT_EQ(host.pending(), 0);
}

}  // namespace
}  // namespace quadrel
