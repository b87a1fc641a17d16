// Single-port mode: the user's one command file, re-read at every tick, with
// the AutoRun group shown while it is on.
#include <gtest/gtest.h>
#include <windows.h>

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "autorun/autorun_fakes.h"
#include "autorun/autorun_spooler.h"
#include "interfaces/registry.h"

using namespace ravelin;
using namespace autorun_test;
using platform::SettingsRoot;

namespace {

class SinglePortMode : public ::testing::Test {
 protected:
  SinglePortMode() : commandFile_(scratch_.Path() + "cmd.txt"), errorsFile_(scratch_.Path() + "errors.txt") {
    SetUser(registry::kAutoRunCommandFile, commandFile_);
    SetUser(registry::kAutoRunErrorsFile, errorsFile_);
  }
  void SetUser(const char* name, const std::string& value) {
    settings_.Set(SettingsRoot::CurrentUser, registry::kDriverKey, name, value);
  }
  TAutoRunSpooler& Started() {
    spooler_ = std::make_unique<TAutoRunSpooler>(port_, TAutoRunStart{}, settings_.Reader(), clock_.Waits());
    spooler_->Tick();
    return *spooler_;
  }
  std::string Line() const { return BatchLineOf(commandFile_ + kRunningSuffix, errorsFile_); }

  ScratchFolder scratch_;
  const std::string commandFile_;
  const std::string errorsFile_;
  FakePort port_;
  FakeSettings settings_;
  FakeClock clock_;
  std::unique_ptr<TAutoRunSpooler> spooler_;
};

TEST_F(SinglePortMode, PortTextOfZeroOrNoneKeepsTheGroupHiddenAndLooksAtNoFile) {
  WriteTextFile(commandFile_, "#1\r\n");
  for (const std::optional<std::string>& text :
       {std::optional<std::string>("0"), std::optional<std::string>(""), std::optional<std::string>(" "),
        std::optional<std::string>()}) {
    if (text) SetUser(registry::kAutoRun, *text);
    TAutoRunSpooler& spooler = Started();
    EXPECT_FALSE(spooler.Active());
    EXPECT_FALSE(port_.groupVisible);
    const int readsAfterStart = settings_.reads;
    for (int tick = 0; tick < 3; ++tick) spooler.Tick();
    EXPECT_EQ(settings_.reads, readsAfterStart) << "a switched-off AutoRun reads nothing more";
  }
  EXPECT_TRUE(port_.calls.empty());
  EXPECT_TRUE(FileExists(commandFile_));
}

TEST_F(SinglePortMode, CommandFileRunsOnTheUsersPortWithTheUsersErrorsFile) {
  SetUser(registry::kAutoRun, " 2 ");
  TAutoRunSpooler& spooler = Started();
  EXPECT_TRUE(spooler.Active());
  EXPECT_FALSE(spooler.SpoolerMode());
  EXPECT_TRUE(port_.groupVisible);

  spooler.Tick();
  EXPECT_TRUE(port_.calls.empty()) << "no command file yet";
  WriteTextFile(commandFile_, "#1\r\n");
  spooler.Tick();
  EXPECT_EQ(port_.calls, (std::vector<std::string>{"open 2", Line(), "close"}));
  EXPECT_FALSE(FileExists(commandFile_));
  EXPECT_EQ(ReadTextFile(errorsFile_), "errors of " + commandFile_ + kRunningSuffix + "\r\n");
  EXPECT_EQ(port_.answers, std::vector<std::string>{"OK."});
  EXPECT_EQ(spooler.ErrorsFile(), errorsFile_);

  // The settings are read again at every tick: a new file, a new port.
  SetUser(registry::kAutoRun, "5");
  WriteTextFile(commandFile_, "#1\r\n");
  spooler.Tick();
  ASSERT_EQ(port_.calls.size(), 6u);
  EXPECT_EQ(port_.calls[3], "open 5");
  EXPECT_TRUE(port_.faults.empty()) << port_.faults.front();
}

TEST_F(SinglePortMode, SwitchedOffWhileRunningItStaysOffUntilTheNextStart) {
  SetUser(registry::kAutoRun, "2");
  TAutoRunSpooler& spooler = Started();
  SetUser(registry::kAutoRun, "0");
  WriteTextFile(commandFile_, "#1\r\n");
  spooler.Tick();
  EXPECT_FALSE(spooler.Active());
  EXPECT_FALSE(port_.groupVisible);

  SetUser(registry::kAutoRun, "2");
  spooler.Tick();
  EXPECT_TRUE(port_.calls.empty());
  EXPECT_TRUE(FileExists(commandFile_));
}

TEST_F(SinglePortMode, PortThatDoesNotOpenIsTriedAgainAndSwitchingOffEndsTheWait) {
  SetUser(registry::kAutoRun, "2");
  WriteTextFile(commandFile_, "#1\r\n");
  TAutoRunSpooler& spooler = Started();
  port_.openResults = {20, 20};
  spooler.Tick();
  EXPECT_EQ(ReadTextFile(errorsFile_), kPortNotOpenedErrorsText);
  clock_.now += kRetryDelayMs;
  spooler.Tick();
  EXPECT_EQ(port_.opensTried, 2);
  EXPECT_TRUE(port_.autoRunRunning);

  // Nobody can connect while it waits; switching AutoRun off lets them in.
  SetUser(registry::kAutoRun, "0");
  clock_.now += kRetryDelayMs;
  spooler.Tick();
  EXPECT_EQ(port_.opensTried, 2);
  EXPECT_FALSE(port_.autoRunRunning);
  EXPECT_FALSE(spooler.Active());
  EXPECT_TRUE(FileExists(commandFile_));
}

// The same, read from the current user's registry as the product does.
class UserRegistryValues {
 public:
  ~UserRegistryValues() {
    for (const auto& [name, value] : saved_) {
      if (value)
        Write(name, *value);
      else
        RegDeleteKeyValueA(HKEY_CURRENT_USER, registry::kDriverKey, name.c_str());
    }
  }
  void Set(const std::string& name, const std::string& value) {
    if (!saved_.count(name)) {
      const std::string old =
          ReadRegistrySetting(SettingsRoot::CurrentUser, registry::kDriverKey, name.c_str());
      DWORD size = 0;
      const bool present = RegGetValueA(HKEY_CURRENT_USER, registry::kDriverKey, name.c_str(), RRF_RT_REG_SZ,
                                        nullptr, nullptr, &size) == ERROR_SUCCESS;
      saved_[name] = present ? std::optional<std::string>(old) : std::nullopt;
    }
    Write(name, value);
  }

 private:
  static void Write(const std::string& name, const std::string& value) {
    ASSERT_EQ(RegSetKeyValueA(HKEY_CURRENT_USER, registry::kDriverKey, name.c_str(), REG_SZ, value.c_str(),
                              static_cast<DWORD>(value.size() + 1)),
              ERROR_SUCCESS);
  }
  std::map<std::string, std::optional<std::string>> saved_;
};

TEST(SinglePortModeFromRegistry, UsersValuesNameThePortTheCommandFileAndTheErrorsFile) {
  ScratchFolder scratch;
  UserRegistryValues values;
  values.Set(registry::kAutoRun, "6");
  values.Set(registry::kAutoRunCommandFile, scratch.Path() + "reg.cmd");
  values.Set(registry::kAutoRunErrorsFile, scratch.Path() + "reg.err");
  WriteTextFile(scratch.Path() + "reg.cmd", "#1\r\n");

  FakePort port;
  FakeClock clock;
  TAutoRunSpooler spooler(port, TAutoRunStart{}, ReadRegistrySetting, clock.Waits());
  spooler.Tick();
  EXPECT_TRUE(port.groupVisible);
  spooler.Tick();
  EXPECT_EQ(port.calls,
            (std::vector<std::string>{
                "open 6", BatchLineOf(scratch.Path() + "reg.cmd" + kRunningSuffix, scratch.Path() + "reg.err"), "close"}));
  EXPECT_FALSE(FileExists(scratch.Path() + "reg.cmd"));
}

}  // namespace
