// The POSIX settings store that stands in for the registry in native tests.
#include <gtest/gtest.h>

#include <string>

#include "platform/posix/settings_store.h"

namespace {

using platform::SettingsRoot;

class SettingsStore : public ::testing::Test {
 protected:
  void SetUp() override { platform::test_settings::Clear(); }
  void TearDown() override { platform::test_settings::Clear(); }
};

TEST_F(SettingsStore, RootsAreSeparateAndNamesIgnoreCase) {
  platform::test_settings::Put(SettingsRoot::LocalMachine, "Software\\A", "Value", "machine");
  platform::test_settings::Put(SettingsRoot::CurrentUser, "Software\\A", "Value", "user");
  std::string value;
  ASSERT_TRUE(platform::ReadSettingText(SettingsRoot::LocalMachine, "SOFTWARE\\a", "VALUE", 16, value));
  EXPECT_EQ(value, "machine");
  ASSERT_TRUE(platform::ReadSettingText(SettingsRoot::CurrentUser, "software\\A", "value", 16, value));
  EXPECT_EQ(value, "user");
}

TEST_F(SettingsStore, MissingOrRemovedValueIsNotReadAndLeavesTheTarget) {
  std::string value = "kept";
  EXPECT_FALSE(platform::ReadSettingText(SettingsRoot::LocalMachine, "K", "V", 16, value));
  platform::test_settings::Put(SettingsRoot::LocalMachine, "K", "V", "x");
  platform::test_settings::Remove(SettingsRoot::LocalMachine, "K", "V");
  EXPECT_FALSE(platform::ReadSettingText(SettingsRoot::LocalMachine, "K", "V", 16, value));
  EXPECT_EQ(value, "kept");
}

TEST_F(SettingsStore, ValueMustFitTheBufferWithItsTerminator) {
  platform::test_settings::Put(SettingsRoot::LocalMachine, "K", "V", "0123456789ABCDEF");
  std::string value;
  EXPECT_FALSE(platform::ReadSettingText(SettingsRoot::LocalMachine, "K", "V", 16, value));
  EXPECT_TRUE(platform::ReadSettingText(SettingsRoot::LocalMachine, "K", "V", 17, value));
  EXPECT_EQ(value, "0123456789ABCDEF");
}

}  // namespace
