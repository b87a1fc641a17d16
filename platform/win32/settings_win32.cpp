#include <windows.h>

#include <string>
#include <vector>

#include "platform/platform.h"

namespace platform {

bool ReadSettingText(SettingsRoot root, std::string_view key, std::string_view name,
                     std::size_t maxBytes, std::string& value) {
  HKEY base = root == SettingsRoot::LocalMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
  HKEY opened = nullptr;
  if (RegOpenKeyExA(base, std::string(key).c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS) {
    return false;
  }
  std::vector<char> buffer(maxBytes + 1, '\0');
  DWORD type = 0;
  DWORD size = static_cast<DWORD>(maxBytes);
  LONG status = RegQueryValueExA(opened, std::string(name).c_str(), nullptr, &type,
                                 reinterpret_cast<BYTE*>(buffer.data()), &size);
  RegCloseKey(opened);
  if (status != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) return false;
  value.assign(buffer.data());  // stops at the terminator the registry stored
  return true;
}

}  // namespace platform
