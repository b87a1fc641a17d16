#include "model/memory_registry.h"

#include <algorithm>
#include <cctype>

namespace lathwell {
namespace {

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

}  // namespace

MemoryRegistry::Key* MemoryRegistry::Find(RegistryRoot root, const std::string& path) {
  const auto found = keys_.find({root, Lower(path)});
  return found == keys_.end() ? nullptr : &found->second;
}

bool MemoryRegistry::KeyExists(RegistryRoot root, const std::string& path) {
  return Find(root, path) != nullptr;
}

RegistryFailure MemoryRegistry::Refusal() {
  if (refusal_) return refusal_;
  if (changesBeforeRefusal_ < 0) return {};
  if (changesBeforeRefusal_-- > 0) return {};
  return oneRefusal_;  // the countdown is now past, so only this change fails
}

std::optional<std::string> MemoryRegistry::ReadValue(RegistryRoot root, const std::string& path,
                                                     const std::string& name) {
  const Key* key = Find(root, path);
  if (key == nullptr) return std::nullopt;
  const auto value = key->valuesByLower.find(Lower(name));
  if (value == key->valuesByLower.end()) return std::nullopt;
  return value->second;
}

std::map<std::string, std::string> MemoryRegistry::ValuesOf(RegistryRoot root, const std::string& path) {
  const Key* key = Find(root, path);
  return key == nullptr ? std::map<std::string, std::string>() : key->valuesByLower;
}

std::vector<std::string> MemoryRegistry::SubkeyNames(RegistryRoot root, const std::string& path) {
  const std::string prefix = Lower(path) + "\\";
  std::vector<std::string> names;
  for (const auto& [id, key] : keys_) {
    if (id.first != root || !id.second.starts_with(prefix)) continue;
    if (id.second.find('\\', prefix.size()) == std::string::npos) names.push_back(key.name);
  }
  return names;
}

RegistryFailure MemoryRegistry::CreateKey(RegistryRoot root, const std::string& path) {
  if (const RegistryFailure refused = Refusal()) return refused;
  for (std::size_t end = 0; end != std::string::npos;) {
    end = path.find('\\', end + 1);
    const std::string part = path.substr(0, end);
    keys_.try_emplace({root, Lower(part)}, Key{part.substr(part.rfind('\\') + 1), {}});
  }
  return {};
}

RegistryFailure MemoryRegistry::WriteText(RegistryRoot root, const std::string& path, const std::string& name,
                                          const std::string& text) {
  if (const RegistryFailure refused = Refusal()) return refused;
  Key* key = Find(root, path);
  if (key == nullptr) return "The system cannot find the file specified.";
  key->valuesByLower[Lower(name)] = text;
  return {};
}

RegistryFailure MemoryRegistry::DeleteValue(RegistryRoot root, const std::string& path,
                                            const std::string& name) {
  if (const RegistryFailure refused = Refusal()) return refused;
  if (Key* key = Find(root, path)) key->valuesByLower.erase(Lower(name));
  return {};
}

RegistryFailure MemoryRegistry::DeleteKeyTree(RegistryRoot root, const std::string& path) {
  if (const RegistryFailure refused = Refusal()) return refused;
  const std::string lower = Lower(path);
  std::erase_if(keys_, [&](const auto& entry) {
    const auto& [id, key] = entry;
    return id.first == root && (id.second == lower || id.second.starts_with(lower + "\\"));
  });
  return {};
}

}  // namespace lathwell
