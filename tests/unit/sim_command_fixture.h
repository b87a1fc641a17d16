// A translator test that runs command lines against a simulated register: the
// shipped definitions file loaded, the default register (the one ecrsim
// serves without a configuration) as register 1 selected, and the key
// records a command queues sent after it.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "definition_text.h"
#include "exports/process_state.h"
#include "run_line.h"
#include "sim_host.h"

class SimCommandTest : public quadrel::test_support::WithShippedDefinitions<> {
 protected:
  void SetUp() override {
    host_.sim.AddRegister(1, *ecrsim::BuiltInConfig(ecrsim::kDefaultConfigName));
    host_.Install();
    ASSERT_EQ(Run("SELEZIONA CASSA=1"), 0);
  }
  void TearDown() override { quadrel::ResetProcessState(); }

  static int Run(const std::string& line) { return quadrel::test_support::RunLine(line); }
  ecrsim::SimRegister& Reg() { return *host_.sim.Find(1); }

  SimHost host_;
};

// The same, working in a fresh folder of its own: the files a command writes
// by a relative name land there and go with it.
class SimCommandInFolderTest : public SimCommandTest {
 protected:
  void SetUp() override {
    SimCommandTest::SetUp();
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    dir_ = std::filesystem::temp_directory_path() /
           ("quadrel-" + std::string(test->test_suite_name()) + "-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir_);
    previous_ = std::filesystem::current_path();
    std::filesystem::current_path(dir_);
  }
  void TearDown() override {
    std::filesystem::current_path(previous_);
    std::filesystem::remove_all(dir_);
    SimCommandTest::TearDown();
  }

  std::filesystem::path dir_, previous_;
};
