// The settings registry on Windows' own registry.
#pragma once

#include "model/settings_registry.h"

namespace lathwell {

class Win32Registry : public SettingsRegistry {
 public:
  bool KeyExists(RegistryRoot root, const std::string& path) override;
  std::optional<std::string> ReadValue(RegistryRoot root, const std::string& path,
                                       const std::string& name) override;
  std::vector<std::string> SubkeyNames(RegistryRoot root, const std::string& path) override;
  RegistryFailure CreateKey(RegistryRoot root, const std::string& path) override;
  RegistryFailure WriteText(RegistryRoot root, const std::string& path, const std::string& name,
                            const std::string& text) override;
  RegistryFailure DeleteValue(RegistryRoot root, const std::string& path, const std::string& name) override;
  RegistryFailure DeleteKeyTree(RegistryRoot root, const std::string& path) override;
};

}  // namespace lathwell
