// Settings read through the platform seam against Wine's real registry.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "platform/platform.h"

namespace {

constexpr const char* kTestKey = "Software\\Velmora\\Tests\\Registry";

void WriteValue(HKEY root, const char* name, const std::string& value) {
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExA(root, kTestKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  ASSERT_EQ(RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                           static_cast<DWORD>(value.size() + 1)),
            ERROR_SUCCESS);
  RegCloseKey(key);
}

void WriteNumber(HKEY root, const char* name, DWORD value) {
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExA(root, kTestKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  ASSERT_EQ(RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value),
            ERROR_SUCCESS);
  RegCloseKey(key);
}

class RegistrySettings : public ::testing::Test {
 protected:
  void TearDown() override {
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, kTestKey);
    RegDeleteKeyA(HKEY_CURRENT_USER, kTestKey);
  }
};

TEST_F(RegistrySettings, ReadsStringsUnderBothRoots) {
  WriteValue(HKEY_LOCAL_MACHINE, "Where", "machine");
  WriteValue(HKEY_CURRENT_USER, "Where", "user");
  std::string value;
  ASSERT_TRUE(platform::ReadSettingText(platform::SettingsRoot::LocalMachine, kTestKey, "Where", 16, value));
  EXPECT_EQ(value, "machine");
  ASSERT_TRUE(platform::ReadSettingText(platform::SettingsRoot::CurrentUser, kTestKey, "Where", 16, value));
  EXPECT_EQ(value, "user");
}

TEST_F(RegistrySettings, MissingKeyOrValueIsNotRead) {
  std::string value = "untouched";
  EXPECT_FALSE(platform::ReadSettingText(platform::SettingsRoot::LocalMachine, kTestKey, "Absent", 16, value));
  WriteValue(HKEY_LOCAL_MACHINE, "Present", "x");
  EXPECT_FALSE(platform::ReadSettingText(platform::SettingsRoot::LocalMachine, kTestKey, "Absent", 16, value));
  EXPECT_EQ(value, "untouched");
}

TEST_F(RegistrySettings, ValueLongerThanTheBufferIsNotRead) {
  WriteValue(HKEY_LOCAL_MACHINE, "Long", "0123456789ABCDEF");  // 16 characters + terminator
  std::string value;
  EXPECT_FALSE(platform::ReadSettingText(platform::SettingsRoot::LocalMachine, kTestKey, "Long", 16, value));
  EXPECT_TRUE(platform::ReadSettingText(platform::SettingsRoot::LocalMachine, kTestKey, "Long", 17, value));
  EXPECT_EQ(value, "0123456789ABCDEF");
}

TEST_F(RegistrySettings, NonStringValueIsNotRead) {
  WriteNumber(HKEY_LOCAL_MACHINE, "Number", 7);
  std::string value;
  EXPECT_FALSE(platform::ReadSettingText(platform::SettingsRoot::LocalMachine, kTestKey, "Number", 16, value));
}

}  // namespace
