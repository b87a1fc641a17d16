#include "autorun/autorun_settings.h"

#include <windows.h>

#include <cctype>
#include <climits>

#include "interfaces/registry.h"
#include "port/port_settings.h"

namespace ravelin {
namespace {

using platform::SettingsRoot;

// The ANSI file functions take no longer path; a longer value names no file.
constexpr std::size_t kSettingBytes = MAX_PATH;

bool IsSeparator(char c) {
  return c == '\\' || c == '/';
}

std::string Trimmed(const std::string& text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return {};
  const auto last = text.find_last_not_of(" \t");
  return text.substr(first, last - first + 1);
}

bool IsFolder(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Where the folders of `path` begin: after "C:" and its separator, or after
// the "\\server\share\" of a network path, which cannot be created.
std::size_t FirstCreatableFolder(const std::string& path) {
  if (path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1])) {
    std::size_t separators = 0;
    for (std::size_t i = 2; i < path.size(); ++i) {
      if (IsSeparator(path[i]) && ++separators == 2) return i + 1;
    }
    return path.size();
  }
  std::size_t start = path.size() >= 2 && path[1] == ':' ? 2 : 0;
  while (start < path.size() && IsSeparator(path[start])) ++start;
  return start;
}

}  // namespace

std::string ReadRegistrySetting(SettingsRoot root, const std::string& key, const char* name) {
  std::string value;
  if (!platform::ReadSettingText(root, key, name, kSettingBytes, value)) return {};
  return value;
}

TSinglePortSettings ReadSinglePortSettings(const TSettingReader& read) {
  return {ReadSinglePortText(read),
          read(SettingsRoot::CurrentUser, registry::kDriverKey, registry::kAutoRunCommandFile),
          read(SettingsRoot::CurrentUser, registry::kDriverKey, registry::kAutoRunErrorsFile)};
}

std::string ReadSinglePortText(const TSettingReader& read) {
  return read(SettingsRoot::CurrentUser, registry::kDriverKey, registry::kAutoRun);
}

bool SpoolerModeEnabled(const TSettingReader& read) {
  return read(SettingsRoot::LocalMachine, registry::kDriverKey, registry::kEnableSpoolerAutoRun) == "1";
}

std::string ReadSpoolerPattern(const TSettingReader& read, int port) {
  return read(SettingsRoot::LocalMachine, registry::kPortsKeyPrefix + std::to_string(port), registry::kAutoRunCommandFile);
}

std::optional<int> AutoRunPortNumber(const std::string& portText) {
  const std::string digits = Trimmed(portText);
  if (digits.empty()) return std::nullopt;
  long long number = 0;
  for (const char c : digits) {
    if (!std::isdigit(static_cast<unsigned char>(c))) return std::nullopt;
    number = number * 10 + (c - '0');
    if (number > INT_MAX) return std::nullopt;
  }
  if (number == 0) return std::nullopt;
  return static_cast<int>(number);
}

TCommandPattern SplitCommandPattern(const std::string& pattern) {
  const auto end = pattern.find_last_of("\\/:");
  if (end == std::string::npos) return {{}, pattern};
  return {pattern.substr(0, end + 1), pattern.substr(end + 1)};
}

bool CreateFolderWithParents(const std::string& folder) {
  if (folder.empty()) return false;
  for (std::size_t i = FirstCreatableFolder(folder); i <= folder.size(); ++i) {
    if (i < folder.size() && !IsSeparator(folder[i])) continue;
    // Each prefix that ends a folder name: an existing one is left as it is.
    const std::string prefix = folder.substr(0, i);
    if (!prefix.empty() && !IsSeparator(prefix.back()) && !IsFolder(prefix))
      CreateDirectoryA(prefix.c_str(), nullptr);
  }
  return IsFolder(folder);
}

}  // namespace ravelin
