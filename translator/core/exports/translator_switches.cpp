#include "exports/translator_switches.h"

#include <cstring>
#include <strings.h>

#include "interfaces/registry.h"
#include "platform/platform.h"

namespace quadrel {
namespace {

constexpr std::size_t kSwitchBytes = 16;
constexpr std::size_t kInstallationDirBytes = 80;

bool EqualsIgnoringCase(const std::string& text, const char* word) {
  return strcasecmp(text.c_str(), word) == 0;
}

bool ReadSwitch(const char* name, std::string& value) {
  return platform::ReadSettingText(platform::SettingsRoot::LocalMachine, registry::kDriverKey, name,
                                   kSwitchBytes, value);
}

void ReadOnSwitch(const char* name, bool& target) {
  std::string value;
  if (ReadSwitch(name, value) && SwitchTurnedOn(value)) target = true;
}

void ReadOffSwitch(const char* name, bool& target) {
  std::string value;
  if (ReadSwitch(name, value) && SwitchTurnedOff(value)) target = false;
}

}  // namespace

bool SwitchTurnedOn(const std::string& text) {
  return text == "1" || EqualsIgnoringCase(text, "YES");
}

bool SwitchTurnedOff(const std::string& text) {
  return text == "0" || EqualsIgnoringCase(text, "NO");
}

std::string ReadTranslatorSwitches(const std::string& iniPath, TranslatorSwitches& switches) {
  std::string path = iniPath;
  std::string installationDir;
  if (platform::ReadSettingText(platform::SettingsRoot::LocalMachine, registry::kDriverKey,
                                registry::kInstallationDir, kInstallationDirBytes, installationDir)) {
    // The value normally ends with a backslash; it is used as it comes.
    path = installationDir + "\\Drivers\\TALLIS.INI";
  }
  ReadOnSwitch(registry::kBufferFlush, switches.BufferFlush);
  ReadOnSwitch(registry::kFixDepDescLen, switches.FixDepDescLen);
  ReadOffSwitch(registry::kAlwayMaxSpeedFP, switches.AlwayMaxSpeedFP);
  ReadOffSwitch(registry::kAutoSlaveOnBatch, switches.AutoSlaveOnBatch);
  ReadOffSwitch(registry::kRetryOn8XXX, switches.RetryOn8XXX);
  ReadOnSwitch(registry::kRetryOn16XXX, switches.RetryOn16XXX);
  std::string mode;
  if (ReadSwitch(registry::kCoverOpenPaperEmptyMode, mode)) {
    switches.CoverOpenPaperEmptyMode = (mode == "1" || mode == "3") ? mode[0] - '0' : 2;
  }
  ReadOnSwitch(registry::kSendZAE, switches.SendZAE);
  return path;
}

}  // namespace quadrel
