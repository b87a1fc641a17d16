// A translator test that runs command lines: the shipped definitions file
// loaded, register 1's configuration taken as read, and the key records a
// command queues sent after it.
#pragma once

#include <string>

#include "definition_text.h"
#include "run_line.h"
#include "translator_fixture.h"

class CommandLineTest : public quadrel::test_support::WithShippedDefinitions<TranslatorTest> {
 protected:
  void SetUp() override {
    TranslatorTest::SetUp();
    quadrel::EcrRecord(1).EcrNumber = 1;
  }
  static int RunLine(const std::string& line) { return quadrel::test_support::RunLine(line); }
};
