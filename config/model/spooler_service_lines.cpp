#include "model/spooler_service_lines.h"

namespace lathwell {
namespace {

constexpr const char* kSystemServiceTool = "sc.exe";  // taken from the system folder only
constexpr const char* kDescription = "Driver di stmapa ECR Velmora Linea Kestra";
constexpr const char* kFailureActions = "reset= 0 actions= restart/6000/restart/6000/restart/6000";

ServiceCommand Sc(const std::string& arguments) {
  return {kSystemServiceTool, "sc " + arguments};
}

}  // namespace

std::string SpoolerServiceName(int port) {
  return "Velmora ECR Spooler Port" + std::to_string(port);
}

std::string FormerSpoolerServiceName(int port) {
  return "Velmora Spooler Port" + std::to_string(port);
}

std::string Quoted(const std::string& text) {
  std::string quoted = "\"";
  for (char c : text) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  return quoted + '"';
}

std::vector<ServiceCommand> RemovalCommands(const std::string& service) {
  return {Sc("stop " + Quoted(service)), Sc("delete " + Quoted(service))};
}

ServiceCommand CreationCommand(const std::string& installationDir, const std::string& service) {
  const std::string tool = installationDir + "Utilities\\instsrv.exe";
  return {tool,
          Quoted(tool) + " " + Quoted(service) + " " + Quoted(installationDir + "Utilities\\srvany.exe")};
}

std::vector<ServiceCommand> SettingCommands(const std::string& service) {
  return {Sc("description " + Quoted(service) + " " + Quoted(kDescription)),
          Sc("failure " + Quoted(service) + " " + kFailureActions)};
}

ServiceCommand StartCommand(const std::string& service) {
  return Sc("start " + Quoted(service));
}

std::string ServiceParametersKey(const std::string& service) {
  return "SYSTEM\\CurrentControlSet\\Services\\" + service + "\\Parameters";
}

std::string ApplicationLine(const std::string& installationDir, int port) {
  // Unquoted, a blank in the path would let the system try "C:\Program.exe" first.
  const std::string program = installationDir + "Drivers\\Ravelin.exe";
  const bool blank = program.find(' ') != std::string::npos;
  return (blank ? Quoted(program) : program) + " /p " + std::to_string(port);
}

}  // namespace lathwell
