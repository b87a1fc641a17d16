#include "model/undoable_changes.h"

#include <utility>

namespace lathwell {

RegistryFailure UndoableChanges::Remembered(Replaced replaced, const RegistryFailure& failure) {
  if (!failure) replaced_.push_back(std::move(replaced));
  return failure;
}

RegistryFailure UndoableChanges::CreateKey(const std::string& path) {
  // An existing key is opened for writing all the same: that is where a refusal shows first.
  const bool existed = registry_.KeyExists(root_, path);
  const RegistryFailure failure = registry_.CreateKey(root_, path);
  if (existed) return failure;
  return Remembered({path, std::nullopt, std::nullopt}, failure);
}

RegistryFailure UndoableChanges::WriteText(const std::string& path, const std::string& name,
                                           const std::string& text) {
  Replaced before{path, name, registry_.ReadValue(root_, path, name)};
  return Remembered(std::move(before), registry_.WriteText(root_, path, name, text));
}

RegistryFailure UndoableChanges::DeleteValue(const std::string& path, const std::string& name) {
  Replaced before{path, name, registry_.ReadValue(root_, path, name)};
  return Remembered(std::move(before), registry_.DeleteValue(root_, path, name));
}

void UndoableChanges::Undo() {
  for (auto change = replaced_.rbegin(); change != replaced_.rend(); ++change) {
    if (!change->name) {
      registry_.DeleteKeyTree(root_, change->path);
    } else if (change->text) {
      registry_.WriteText(root_, change->path, *change->name, *change->text);
    } else {
      registry_.DeleteValue(root_, change->path, *change->name);
    }
  }
  replaced_.clear();
}

}  // namespace lathwell
