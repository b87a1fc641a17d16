#include "model/spooler_service.h"

#include <cctype>

#include "model/spooler_service_lines.h"

namespace lathwell {
namespace {

constexpr int kRemovalPauseMs = 1000;
constexpr int kPollMs = 250;
constexpr int kServiceWaitMs = 30000;
constexpr const char* kApplicationValue = "Application";

// Waits while `busy` holds, at most kServiceWaitMs after `waited` ms already spent.
template <typename Busy>
void WaitWhile(ServiceRunner& runner, Busy busy, int waited = 0) {
  for (; busy() && waited < kServiceWaitMs; waited += kPollMs) runner.Pause(kPollMs);
}

void RunRemoval(ServiceRunner& runner, const std::string& service) {
  // A service that is not installed makes sc fail; that is the usual case.
  for (const ServiceCommand& command : RemovalCommands(service)) runner.Run(command);
}

std::string CannotInstall(const std::string& service, const std::string& what) {
  return "Impossibile installare il servizio " + service + ": " + what;
}

// A drive's root ("C:\Velmora\") or a share ("\\server\Velmora\"): from a
// relative folder the service tools and Ravelin would be whatever the current
// folder holds.
bool IsAbsoluteFolder(const std::string& folder) {
  const auto separator = [&](std::size_t at) {
    return at < folder.size() && (folder[at] == '\\' || folder[at] == '/');
  };
  const bool drive = std::isalpha(static_cast<unsigned char>(folder[0])) && folder[1] == ':' && separator(2);
  const bool share = separator(0) && separator(1) && folder.size() > 2 && !separator(2);
  return drive || share;
}

}  // namespace

std::optional<std::string> InstallSpoolerService(ServiceRunner& runner, SettingsRegistry& registry,
                                                 const std::string& installationDir, int port) {
  const std::string former = FormerSpoolerServiceName(port);
  const std::string service = SpoolerServiceName(port);
  if (!IsAbsoluteFolder(installationDir)) {
    return CannotInstall(service, "la cartella di installazione (InstallationDir) \"" + installationDir +
                                      "\" non e' un percorso assoluto");
  }
  RunRemoval(runner, former);
  RunRemoval(runner, service);
  // A deleted service lingers until its process has ended; creating it again
  // before then fails.
  runner.Pause(kRemovalPauseMs);
  WaitWhile(
      runner, [&] { return runner.Exists(former) || runner.Exists(service); }, kRemovalPauseMs);

  const auto runs = [&](const ServiceCommand& command) { return runner.Run(command) == 0UL; };
  const ServiceCommand creation = CreationCommand(installationDir, service);
  if (!runs(creation)) return CannotInstall(service, creation.line);
  for (const ServiceCommand& command : SettingCommands(service)) {
    if (!runs(command)) return CannotInstall(service, command.line);
  }

  const std::string key = ServiceParametersKey(service);
  const std::string application = ApplicationLine(installationDir, port);
  const RegistryRoot machine = RegistryRoot::LocalMachine;
  if (registry.CreateKey(machine, key) || registry.WriteText(machine, key, kApplicationValue, application)) {
    return CannotInstall(service, "HKLM\\" + key + " " + kApplicationValue + " = " + application);
  }

  const ServiceCommand start = StartCommand(service);
  if (!runs(start)) return CannotInstall(service, start.line);
  WaitWhile(runner, [&] { return !runner.Running(service); });
  if (!runner.Running(service)) return CannotInstall(service, start.line);
  return std::nullopt;
}

void RemoveSpoolerService(ServiceRunner& runner, int port) {
  const std::string service = SpoolerServiceName(port);
  RunRemoval(runner, service);
  // A store that follows must not meet the old service still being deleted.
  WaitWhile(runner, [&] { return runner.Exists(service); });
}

}  // namespace lathwell
