// A translator test that runs command lines: the shipped definitions file
// loaded, register 1's configuration taken as read, and the key records a
// command queues sent after it.
#pragma once

#include <string>

#include "definition_text.h"
#include "language/definition_tables.h"
#include "run/command_executor.h"
#include "run/key_batch_sender.h"
#include "translator_fixture.h"

class CommandLineTest : public TranslatorTest {
 protected:
  static void SetUpTestSuite() { ASSERT_TRUE(quadrel::test_support::LoadShippedDefinitions()); }
  static void TearDownTestSuite() { quadrel::ClearDefinitionTables(); }
  void SetUp() override {
    TranslatorTest::SetUp();
    quadrel::EcrRecord(1).EcrNumber = 1;
  }
  static int RunLine(const std::string& line) {
    return quadrel::SendKeyBatch(quadrel::TradExecCommand(line), nullptr, 0);
  }
};
