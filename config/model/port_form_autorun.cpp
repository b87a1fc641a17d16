// The form's AutoRun modes: single-port (the user's one command file, stored
// by Update) and spooler (the machine's switch, stored at once, with each
// port's pattern stored by OK). Checking one mode clears the other.
#include "interfaces/registry.h"
#include "model/port_form.h"
#include "model/port_values.h"

namespace lathwell {
namespace {

constexpr RegistryRoot kUser = RegistryRoot::CurrentUser;
constexpr RegistryRoot kMachine = RegistryRoot::LocalMachine;

}  // namespace

void PortForm::LoadSinglePortAutoRun() {
  const std::string port = registry_.ReadText(kUser, registry::kDriverKey, registry::kAutoRun);
  const bool on = !port.empty() && port != "0";
  SetSinglePortAutoRun(on);
  if (on) LoadSinglePortTexts();
}

void PortForm::LoadSinglePortTexts() {
  const auto read = [&](const char* name) { return registry_.ReadText(kUser, registry::kDriverKey, name); };
  autoRun_.port = read(registry::kAutoRun);
  autoRun_.commandFile = read(registry::kAutoRunCommandFile);
  autoRun_.errorsFile = read(registry::kAutoRunErrorsFile);
  autoRun_.updateEnabled = false;
}

void PortForm::SetSinglePortAutoRun(bool on) {
  if (autoRun_.singlePort == on) return;
  autoRun_.singlePort = on;
  if (!on) {
    WriteSetting(kUser, registry::kAutoRun, "0");
    return;
  }
  // The mode takes effect when Update stores a port.
  SetSpoolerAutoRun(false);
  LoadSinglePortTexts();
}

void PortForm::SetSpoolerAutoRun(bool on) {
  if (autoRun_.spooler == on) return;
  autoRun_.spooler = on;
  if (!on) {
    WriteSetting(kMachine, registry::kEnableSpoolerAutoRun, "0");
    return;
  }
  SetSinglePortAutoRun(false);
  WriteSetting(kMachine, registry::kEnableSpoolerAutoRun, "1");
  installationDir_ = registry_.ReadText(kMachine, registry::kDriverKey, registry::kInstallationDir);
  LoadSpoolerFieldsOfPort();
  autoRun_.updateEnabled = false;
}

// The shown port's log and spooler values; a port without a key has none.
void PortForm::LoadSpoolerFieldsOfPort() {
  const bool exists = !portText_.empty() && registry_.KeyExists(kMachine, PortKey());
  const auto read = [&](const char* name) {
    return exists ? registry_.ReadText(kMachine, PortKey(), name) : std::string();
  };
  fields_.logFile = LogFileFor(read(registry::kLogFileName), portText_);
  fields_.enableLog = read(registry::kLogLevel) != "0";
  fields_.spoolerCommandFile = read(registry::kAutoRunCommandFile);
  fields_.autoRunOnPort = read(registry::kEnableAutoRunOnPort) == "1";
  if (fields_.spoolerCommandFile.empty()) {
    fields_.spoolerCommandFile = DefaultSpoolerPattern(installationDir_, portText_);
    fields_.autoRunOnPort = true;
  }
}

void PortForm::ChangeSinglePortTexts(const std::string& port, const std::string& commandFile,
                                     const std::string& errorsFile) {
  autoRun_.port = port;
  autoRun_.commandFile = commandFile;
  autoRun_.errorsFile = errorsFile;
  autoRun_.updateEnabled = true;
}

// Ravelin opens whatever the port value names: only a port number we list is stored.
void PortForm::UpdateSinglePort() {
  if (autoRun_.port.empty() || autoRun_.port == "0") return;
  const auto number = ParsePortNumber(autoRun_.port);
  if (!number || !IsStorablePort(*number)) {
    messages_.ReportError(kNotNumericPort);
    return;
  }
  autoRun_.port = std::to_string(*number);
  if (WriteSetting(kUser, registry::kAutoRun, autoRun_.port) &&
      WriteSetting(kUser, registry::kAutoRunCommandFile, autoRun_.commandFile) &&
      WriteSetting(kUser, registry::kAutoRunErrorsFile, autoRun_.errorsFile)) {
    autoRun_.updateEnabled = false;
  }
}

bool PortForm::WriteSetting(RegistryRoot root, const char* name, const std::string& text) {
  const std::string key = registry::kDriverKey;
  return !Reported(key, registry_.CreateKey(root, key)) &&
         !Reported(key, registry_.WriteText(root, key, name, text));
}

}  // namespace lathwell
