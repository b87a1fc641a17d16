#include "dll/registry_fixture.h"
#include "interfaces/registry.h"

#include <windows.h>

#include <stdexcept>

namespace registry_fixture {

void SetMachineValue(const char* name, const std::string& value) {
  HKEY key = nullptr;
  if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, registry::kDriverKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key,
                      nullptr) != ERROR_SUCCESS) {
    throw std::runtime_error("cannot create the translator key");
  }
  LONG status = RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                               static_cast<DWORD>(value.size() + 1));
  RegCloseKey(key);
  if (status != ERROR_SUCCESS) throw std::runtime_error("cannot write a translator value");
}

void DeleteMachineValue(const char* name) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, registry::kDriverKey, 0, KEY_WRITE, &key) != ERROR_SUCCESS) return;
  RegDeleteValueA(key, name);
  RegCloseKey(key);
}

}  // namespace registry_fixture
