#include <map>
#include <string>
#include <tuple>

#include "platform/posix/settings_store.h"

namespace platform {
namespace {

using Address = std::tuple<SettingsRoot, std::string, std::string>;

// Keys compare without regard to case, as the registry does.
std::string Folded(std::string_view text) {
  std::string folded(text);
  for (char& c : folded) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return folded;
}

std::map<Address, std::string>& Store() {
  static std::map<Address, std::string> store;
  return store;
}

Address Make(SettingsRoot root, std::string_view key, std::string_view name) {
  return {root, Folded(key), Folded(name)};
}

}  // namespace

bool ReadSettingText(SettingsRoot root, std::string_view key, std::string_view name,
                     std::size_t maxBytes, std::string& value) {
  auto found = Store().find(Make(root, key, name));
  if (found == Store().end()) return false;
  // A Win32 read into a buffer too small for the value fails; do the same.
  if (found->second.size() + 1 > maxBytes) return false;
  value = found->second;
  return true;
}

namespace test_settings {

void Put(SettingsRoot root, std::string_view key, std::string_view name, std::string_view value) {
  Store()[Make(root, key, name)] = std::string(value);
}

void Remove(SettingsRoot root, std::string_view key, std::string_view name) {
  Store().erase(Make(root, key, name));
}

void Clear() { Store().clear(); }

}  // namespace test_settings
}  // namespace platform
