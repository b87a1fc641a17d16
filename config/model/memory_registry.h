// A registry held in memory, case-insensitive like Windows' own, for running
// the form's rules natively. It can be told to refuse every change, or one.
#pragma once

#include <map>
#include <string>
#include <utility>

#include "model/settings_registry.h"

namespace lathwell {

class MemoryRegistry : public SettingsRegistry {
 public:
  // From now on every change fails with `systemText`.
  void RefuseChanges(std::string systemText) { refusal_ = std::move(systemText); }
  // The change after `changesBefore` more succeed fails once with `systemText`.
  void RefuseOneChange(int changesBefore, std::string systemText) {
    changesBeforeRefusal_ = changesBefore;
    oneRefusal_ = std::move(systemText);
  }

  bool KeyExists(RegistryRoot root, const std::string& path) override;
  std::optional<std::string> ReadValue(RegistryRoot root, const std::string& path,
                                       const std::string& name) override;
  std::vector<std::string> SubkeyNames(RegistryRoot root, const std::string& path) override;
  RegistryFailure CreateKey(RegistryRoot root, const std::string& path) override;
  RegistryFailure WriteText(RegistryRoot root, const std::string& path, const std::string& name,
                            const std::string& text) override;
  RegistryFailure DeleteValue(RegistryRoot root, const std::string& path, const std::string& name) override;
  RegistryFailure DeleteKeyTree(RegistryRoot root, const std::string& path) override;

  // The key's values by lower-case name; none when the key is missing.
  std::map<std::string, std::string> ValuesOf(RegistryRoot root, const std::string& path);

 private:
  struct Key {
    std::string name;                                  // last path element as created
    std::map<std::string, std::string> valuesByLower;  // lower-case name -> text
  };
  using KeyId = std::pair<RegistryRoot, std::string>;  // root and lower-case path

  Key* Find(RegistryRoot root, const std::string& path);
  // Why the change about to be made is refused; nothing when it may be made.
  RegistryFailure Refusal();

  std::map<KeyId, Key> keys_;
  RegistryFailure refusal_;
  int changesBeforeRefusal_ = -1;  // none pending
  std::string oneRefusal_;
};

}  // namespace lathwell
