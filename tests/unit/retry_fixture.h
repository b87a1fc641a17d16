// The translator against a scripted host, with the retry policy's pauses
// recorded instead of slept and the batch run state reset.
#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <vector>

#include "definition_text.h"
#include "language/definition_file.h"
#include "language/definition_tables.h"
#include "run/retry_runner.h"
#include "state/batch_state.h"
#include "translator_fixture.h"

class RetryTest : public TranslatorTest {
 protected:
  // Command words for the lines the tests run: 4 does nothing but is checked
  // against the register (one status frame), 8 clears, 29 is slave mode.
  static void SetUpTestSuite() {
    // A file of this process's own: ctest runs test cases in parallel processes.
    ASSERT_TRUE(quadrel::test_support::LoadDefinitionText(
        "[OPCOD]\n4=NULLA\n8=CANCELLA\n29=SLAVE\n[29]\n1=ON\n2=OFF\n"));
  }
  static void TearDownTestSuite() { quadrel::ClearDefinitionTables(); }

  void SetUp() override {
    TranslatorTest::SetUp();
    pauses().clear();
    quadrel::SetRetryPause(&RecordPause);
  }
  void TearDown() override {
    quadrel::SetRetryPause(nullptr);
    TranslatorTest::TearDown();
  }

  static std::vector<std::uint32_t>& pauses() {
    static std::vector<std::uint32_t> recorded;
    return recorded;
  }

  // What one clear of the register sends: "#8" is checked against the
  // register with a status frame, then its clear key goes out.
  void ExpectClear() {
    host.expect("S").answer(0, quadrel_test::status_idle());
    host.expect(quadrel_test::bytes({'A', 0})).answer(0, quadrel_test::status_idle());
  }
  void ExpectClearTwice() {
    ExpectClear();
    ExpectClear();
  }

  // What a slave-mode line sends: the status frame of its check, the
  // slave-mode query, then 'H' 1 ("#29 #1=1") or 'H' 0 ("#29 #2=1").
  void ExpectSlaveMode(int on) {
    host.expect("S").answer(0, quadrel_test::status_idle());
    host.expect(quadrel_test::bytes({'U', 0, 23})).answer(0, quadrel_test::bytes({'U'}));
    host.expect(quadrel_test::bytes({'H', on})).answer(0, quadrel_test::bytes({'H'}));
  }

  // The status frame of "#4" (which needs nothing else) answered as given.
  void ExpectLineOk() { host.expect("S").answer(0, quadrel_test::status_idle()); }
  void ExpectLineCritical() { host.expect("S").answer(32, quadrel_test::bytes({'S'})); }

  // The 'C' 11 state read answered with a critical code (state bit 2 set) or
  // with a recovered register.
  void ExpectStateRead(int critical) {
    quadrel_test::Bytes answer(25, 0);
    answer[0] = 'C';
    answer[1] = critical != 0 ? 0x04 : 0x01;
    answer[2] = static_cast<std::uint8_t>(critical);
    host.expect(quadrel_test::bytes({'C', 11})).answer(0, answer);
  }

 private:
  static void RecordPause(std::uint32_t ms) { pauses().push_back(ms); }
};
