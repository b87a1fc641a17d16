#include "dialog/win32_registry.h"

#include <windows.h>

#include <algorithm>

namespace lathwell {
namespace {

HKEY RootKey(RegistryRoot root) {
  return root == RegistryRoot::LocalMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
}

// The system's words for an error code, without the line end it ends with.
std::string SystemText(LONG status) {
  char* buffer = nullptr;
  const DWORD length = FormatMessageA(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
      static_cast<DWORD>(status), 0, reinterpret_cast<char*>(&buffer), 0, nullptr);
  std::string text = length > 0 ? std::string(buffer, length) : "error " + std::to_string(status);
  LocalFree(buffer);
  while (!text.empty() && (text.back() == '\r' || text.back() == '\n' || text.back() == ' ')) text.pop_back();
  return text;
}

RegistryFailure Failure(LONG status) {
  if (status == ERROR_SUCCESS) return {};
  return SystemText(status);
}

// An open key closed when it goes out of scope.
class OpenKey {
 public:
  OpenKey(RegistryRoot root, const std::string& path, REGSAM access)
      : status_(RegOpenKeyExA(RootKey(root), path.c_str(), 0, access, &key_)) {}
  ~OpenKey() {
    if (status_ == ERROR_SUCCESS) RegCloseKey(key_);
  }
  OpenKey(const OpenKey&) = delete;
  OpenKey& operator=(const OpenKey&) = delete;

  LONG Status() const { return status_; }
  HKEY Handle() const { return key_; }

 private:
  HKEY key_ = nullptr;
  LONG status_;
};

}  // namespace

bool Win32Registry::KeyExists(RegistryRoot root, const std::string& path) {
  return OpenKey(root, path, KEY_READ).Status() == ERROR_SUCCESS;
}

std::optional<std::string> Win32Registry::ReadValue(RegistryRoot root, const std::string& path,
                                                    const std::string& name) {
  OpenKey key(root, path, KEY_READ);
  if (key.Status() != ERROR_SUCCESS) return std::nullopt;
  DWORD type = 0;
  DWORD size = 0;
  if (RegQueryValueExA(key.Handle(), name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
      (type != REG_SZ && type != REG_EXPAND_SZ)) {
    return std::nullopt;
  }
  std::string text(size, '\0');
  if (RegQueryValueExA(key.Handle(), name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(text.data()),
                       &size) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  // A stored text may or may not carry its terminator.
  text.resize(std::min<std::size_t>(size, text.size()));
  if (const auto end = text.find('\0'); end != std::string::npos) text.resize(end);
  return text;
}

std::vector<std::string> Win32Registry::SubkeyNames(RegistryRoot root, const std::string& path) {
  OpenKey key(root, path, KEY_READ);
  std::vector<std::string> names;
  if (key.Status() != ERROR_SUCCESS) return names;
  char name[256];  // the longest key name Windows allows is 255 characters
  for (DWORD index = 0;; ++index) {
    DWORD length = sizeof name;
    if (RegEnumKeyExA(key.Handle(), index, name, &length, nullptr, nullptr, nullptr, nullptr) !=
        ERROR_SUCCESS)
      break;
    names.emplace_back(name, length);
  }
  return names;
}

RegistryFailure Win32Registry::CreateKey(RegistryRoot root, const std::string& path) {
  HKEY key = nullptr;
  const LONG status = RegCreateKeyExA(RootKey(root), path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                      KEY_ALL_ACCESS, nullptr, &key, nullptr);
  if (status == ERROR_SUCCESS) RegCloseKey(key);
  return Failure(status);
}

RegistryFailure Win32Registry::WriteText(RegistryRoot root, const std::string& path, const std::string& name,
                                         const std::string& text) {
  OpenKey key(root, path, KEY_SET_VALUE);
  if (key.Status() != ERROR_SUCCESS) return Failure(key.Status());
  return Failure(RegSetValueExA(key.Handle(), name.c_str(), 0, REG_SZ,
                                reinterpret_cast<const BYTE*>(text.c_str()),
                                static_cast<DWORD>(text.size() + 1)));
}

RegistryFailure Win32Registry::DeleteValue(RegistryRoot root, const std::string& path,
                                           const std::string& name) {
  OpenKey key(root, path, KEY_SET_VALUE);
  if (key.Status() == ERROR_FILE_NOT_FOUND) return {};
  if (key.Status() != ERROR_SUCCESS) return Failure(key.Status());
  const LONG status = RegDeleteValueA(key.Handle(), name.c_str());
  return status == ERROR_FILE_NOT_FOUND ? RegistryFailure() : Failure(status);
}

RegistryFailure Win32Registry::DeleteKeyTree(RegistryRoot root, const std::string& path) {
  const LONG status = RegDeleteTreeA(RootKey(root), path.c_str());
  return status == ERROR_FILE_NOT_FOUND ? RegistryFailure() : Failure(status);
}

}  // namespace lathwell
