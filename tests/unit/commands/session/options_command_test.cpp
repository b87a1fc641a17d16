// Command 48 (IMPOSTA) through the executor with the definitions file we
// ship: every option, its accepted values and the ones refused with 23.
#include "commands/session/options_command.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "definition_text.h"
#include "language/definition_file.h"
#include "run/command_executor.h"
#include "translator_fixture.h"

namespace quadrel {
namespace {

namespace fs = std::filesystem;

class OptionsCommand : public test_support::WithShippedDefinitions<TranslatorTest> {
 protected:
  void SetUp() override {
    TranslatorTest::SetUp();
    startDir = fs::current_path();
  }
  void TearDown() override {
    fs::current_path(startDir);
    TranslatorTest::TearDown();
  }

  TranslatorOptions& options() { return Library().options; }
  fs::path startDir;
};

struct SwitchOption {
  const char* name;
  int TranslatorOptions::*field;
};

constexpr SwitchOption kSwitches[] = {
    {"CONFERMA", &TranslatorOptions::StopOnConfirm},
    {"ATTESA", &TranslatorOptions::WaitReadyMode},
    {"VELOCE", &TranslatorOptions::SkipStatusForSales},
    {"STOPERR", &TranslatorOptions::StopBatchOnError},
};

TEST_F(OptionsCommand, EverySwitchGoesOnWithAFlagOr2AndOffWith1) {
  for (const SwitchOption& option : kSwitches) {
    const std::string name = option.name;
    EXPECT_EQ(TradExecCommand("IMPOSTA " + name), 0) << name;
    EXPECT_EQ(options().*option.field, 1) << name;
    EXPECT_EQ(TradExecCommand("IMPOSTA " + name + "=1"), 0) << name;
    EXPECT_EQ(options().*option.field, 0) << name << " can be switched off again";
    EXPECT_EQ(TradExecCommand("IMPOSTA " + name + "=2"), 0) << name;
    EXPECT_EQ(options().*option.field, 1) << name;
  }
}

TEST_F(OptionsCommand, EverySwitchRefusesOtherValuesWith23AndKeepsItsState) {
  for (const SwitchOption& option : kSwitches) {
    for (const char* value : {"0", "3", "-1", "'2x'", "'ON'", "1.5"}) {
      const std::string line = std::string("IMPOSTA ") + option.name + "=" + value;
      options().*option.field = 1;
      EXPECT_EQ(TradExecCommand(line), 23) << line;
      EXPECT_EQ(options().*option.field, 1) << line;
    }
  }
}

TEST_F(OptionsCommand, OutputEditingTakes0To3AndCaptureFormat1Or2) {
  for (int value = 0; value <= 3; ++value) {
    EXPECT_EQ(TradExecCommand("IMPOSTA FORMATO=" + std::to_string(value)), 0);
    EXPECT_EQ(options().OutEditOptions, value);
  }
  for (const char* value : {"4", "-1", "", "'1x'"}) {  // "" is a bare flag
    options().OutEditOptions = 2;
    EXPECT_EQ(TradExecCommand(std::string("IMPOSTA FORMATO=") + value), 23) << value;
    EXPECT_EQ(options().OutEditOptions, 2) << value;
  }
  for (int value : {1, 2}) {
    EXPECT_EQ(TradExecCommand("IMPOSTA CATTURA=" + std::to_string(value)), 0);
    EXPECT_EQ(options().DataCaptureFormat, value);
  }
  for (const char* value : {"0", "3", "'two'"}) {
    EXPECT_EQ(TradExecCommand(std::string("IMPOSTA CATTURA=") + value), 23) << value;
    EXPECT_EQ(options().DataCaptureFormat, 2) << value;
  }
}

TEST_F(OptionsCommand, AnInvalidValueIsSkippedWhileTheOthersStillApply) {
  options().OutEditOptions = 1;
  EXPECT_EQ(TradExecCommand("IMPOSTA FORMATO=4, CATTURA=2, CONFERMA, VELOCE=2, STOPERR=2"), 23);
  EXPECT_EQ(options().OutEditOptions, 1);
  EXPECT_EQ(options().DataCaptureFormat, 2);
  EXPECT_EQ(options().StopOnConfirm, 1);
  EXPECT_EQ(options().SkipStatusForSales, 1);
  EXPECT_EQ(options().StopBatchOnError, 1);
}

TEST_F(OptionsCommand, TheWorkingDirectoryChangesOrIsRefusedWithoutStoppingTheRest) {
  const fs::path folder = fs::temp_directory_path() / ("quadrel_options_" + std::to_string(::getpid()));
  fs::create_directories(folder);
  EXPECT_EQ(TradExecCommand("IMPOSTA CARTELLA='" + folder.string() + "'"), 0);
  EXPECT_EQ(fs::current_path(), folder);

  const std::string missing = (folder / "no" / "such").string();
  EXPECT_EQ(TradExecCommand("IMPOSTA CARTELLA='" + missing + "', FORMATO=3, ATTESA=2, STOPERR"), 23);
  EXPECT_EQ(fs::current_path(), folder);
  EXPECT_EQ(options().OutEditOptions, 3);
  EXPECT_EQ(options().WaitReadyMode, 1);
  EXPECT_EQ(options().StopBatchOnError, 1);
  fs::current_path(startDir);
  fs::remove_all(folder);
}

TEST_F(OptionsCommand, ADirectoryGivenAsABareFlagEndsTheCommandAtOnce) {
  EXPECT_EQ(TradExecCommand("IMPOSTA CARTELLA, FORMATO=3"), 23);
  EXPECT_EQ(options().OutEditOptions, 0);
  EXPECT_EQ(fs::current_path(), startDir);
}

TEST_F(OptionsCommand, RunsWithoutARegisterAndSendsNothing) {
  SelectedEcr() = 0;
  EXPECT_EQ(TradExecCommand("IMPOSTA FORMATO=2"), 0);
  EXPECT_EQ(TradExecCommand("#48"), 0);  // nothing given, nothing changes
  EXPECT_EQ(options().OutEditOptions, 2);
  EXPECT_TRUE(host.frames().empty());
  EXPECT_TRUE(host.status_calls().empty());
}

}  // namespace
}  // namespace quadrel
