// The per-port spooler service's names and the command lines that install
// and remove it, built without running anything.
#pragma once

#include <string>
#include <vector>

#include "model/service_runner.h"

namespace lathwell {

std::string SpoolerServiceName(int port);
// The name older installations used; only ever removed.
std::string FormerSpoolerServiceName(int port);

// Between double quotes, with every double quote inside doubled.
std::string Quoted(const std::string& text);

// "sc stop" and "sc delete" of the service.
std::vector<ServiceCommand> RemovalCommands(const std::string& service);
// Creating the service with instsrv, running srvany from the installation folder.
ServiceCommand CreationCommand(const std::string& installationDir, const std::string& service);
// "sc description" and "sc failure": three restarts 6 s apart.
std::vector<ServiceCommand> SettingCommands(const std::string& service);
ServiceCommand StartCommand(const std::string& service);

// The service's Parameters key (HKLM) and the program line srvany starts
// from its "Application" value: Ravelin serving the port in spooler mode.
std::string ServiceParametersKey(const std::string& service);
std::string ApplicationLine(const std::string& installationDir, int port);

}  // namespace lathwell
