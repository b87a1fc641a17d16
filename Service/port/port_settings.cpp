#include "interfaces/registry.h"
#include "port/port_settings.h"

#include <windows.h>

namespace ravelin {
namespace {

constexpr DWORD kMaxPortSettingBytes = 256;

}  // namespace

std::string PortKeyPath(int portNumber) { return registry::kPortsKeyPrefix + std::to_string(portNumber); }

std::string ReadPortKeyText(const std::string& keyPath, const char* valueName) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, keyPath.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return {};
  char buffer[kMaxPortSettingBytes + 1] = {};
  DWORD type = 0;
  DWORD size = kMaxPortSettingBytes;
  const LONG status = RegQueryValueExA(key, valueName, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
  RegCloseKey(key);
  if (status != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) return {};
  // A stored text may or may not carry its terminator.
  std::string text(buffer, size);
  if (const auto end = text.find('\0'); end != std::string::npos) text.resize(end);
  return text;
}

std::string ReadPortType(const std::string& keyPath) { return ReadPortKeyText(keyPath, registry::kPortType); }

}  // namespace ravelin
