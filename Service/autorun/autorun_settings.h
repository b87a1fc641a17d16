// What AutoRun reads from the driver settings: the machine's spooler switch
// and the port's command-file pattern, or the user's single-port command and
// errors files. Reads go through a replaceable reader so the spooler's rules
// can be tried without touching the machine's registry.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "interfaces/registry.h"
#include "platform/platform.h"

namespace ravelin {


// One string value of `key` under `root`; empty when the key or the value is
// missing, or the value is longer than a path can be.
using TSettingReader =
    std::function<std::string(platform::SettingsRoot root, const std::string& key, const char* name)>;

// The product's reader: the registry.
std::string ReadRegistrySetting(platform::SettingsRoot root, const std::string& key, const char* name);

struct TSinglePortSettings {
  std::string portText;  // "0" or empty: single-port AutoRun is off
  std::string commandFile;
  std::string errorsFile;
};

// HKCU's three AutoRun values.
TSinglePortSettings ReadSinglePortSettings(const TSettingReader& read);
// HKCU "AutoRun" alone.
std::string ReadSinglePortText(const TSettingReader& read);
// HKLM "EnableSpoolerAutoRun": "1" selects spooler mode.
bool SpoolerModeEnabled(const TSettingReader& read);
// HKLM port key's "AutoRun CommandFile": drive, folder and a file mask.
std::string ReadSpoolerPattern(const TSettingReader& read, int port);

// The port a text names: decimal digits, blanks around them allowed. None for
// "0", an empty text or anything that is not a port number.
std::optional<int> AutoRunPortNumber(const std::string& portText);

// A spooler pattern split into the folder (drive and folders, ending with its
// separator; empty for a bare mask) and the mask.
struct TCommandPattern {
  std::string folder;
  std::string mask;
};
TCommandPattern SplitCommandPattern(const std::string& pattern);

// Creates `folder` and every missing parent. True when it exists afterwards.
bool CreateFolderWithParents(const std::string& folder);

}  // namespace ravelin
