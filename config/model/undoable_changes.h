// Registry changes that can be taken back: each remembers what it replaced,
// so that a store refused midway leaves the keys as they were instead of a
// port of the new type beside the old type's values.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "model/settings_registry.h"

namespace lathwell {

class UndoableChanges {
 public:
  UndoableChanges(SettingsRegistry& registry, RegistryRoot root) : registry_(registry), root_(root) {}

  // Creates the key and its missing parents; Undo deletes the key when this made it.
  RegistryFailure CreateKey(const std::string& path);
  RegistryFailure WriteText(const std::string& path, const std::string& name, const std::string& text);
  RegistryFailure DeleteValue(const std::string& path, const std::string& name);

  // Puts back what the changes made so far replaced, latest first. A change
  // refused again here stays as the failed store left it; the next store
  // writes every value anew.
  void Undo();

 private:
  struct Replaced {
    std::string path;
    std::optional<std::string> name;  // none: the key itself was created
    std::optional<std::string> text;  // the value before; none when it was missing
  };
  RegistryFailure Remembered(Replaced replaced, const RegistryFailure& failure);

  SettingsRegistry& registry_;
  RegistryRoot root_;
  std::vector<Replaced> replaced_;
};

}  // namespace lathwell
