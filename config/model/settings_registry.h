// The registry as Lathwell uses it: string values, keys created and deleted.
// Paths start below the root ("Software\..."). The Win32 implementation is the
// product's; the in-memory one lets the form's rules run without Windows.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace lathwell {

enum class RegistryRoot { LocalMachine, CurrentUser };

// Why a change was refused, in the system's words; nothing when it was made.
using RegistryFailure = std::optional<std::string>;

class SettingsRegistry {
 public:
  virtual ~SettingsRegistry() = default;

  virtual bool KeyExists(RegistryRoot root, const std::string& path) = 0;
  // Nothing for a missing key or value, or one that is not a string.
  virtual std::optional<std::string> ReadValue(RegistryRoot root, const std::string& path,
                                               const std::string& name) = 0;
  // A missing value reads empty.
  std::string ReadText(RegistryRoot root, const std::string& path, const std::string& name) {
    return ReadValue(root, path, name).value_or("");
  }
  // The names of the key's direct subkeys; none when the key is missing.
  virtual std::vector<std::string> SubkeyNames(RegistryRoot root, const std::string& path) = 0;

  // Creates the key and its missing parents; an existing key is kept as it is.
  virtual RegistryFailure CreateKey(RegistryRoot root, const std::string& path) = 0;
  // Writes a string value of an existing key.
  virtual RegistryFailure WriteText(RegistryRoot root, const std::string& path, const std::string& name,
                                    const std::string& text) = 0;
  // Removing a value or key that is not there succeeds.
  virtual RegistryFailure DeleteValue(RegistryRoot root, const std::string& path,
                                      const std::string& name) = 0;
  virtual RegistryFailure DeleteKeyTree(RegistryRoot root, const std::string& path) = 0;
};

}  // namespace lathwell
