// The in-memory settings store behind ReadSettingText on POSIX: tests put
// values here that a Windows machine would keep in the registry.
#pragma once

#include <string_view>

#include "platform/platform.h"

namespace platform::test_settings {

void Put(SettingsRoot root, std::string_view key, std::string_view name, std::string_view value);
void Remove(SettingsRoot root, std::string_view key, std::string_view name);
void Clear();

}  // namespace platform::test_settings
