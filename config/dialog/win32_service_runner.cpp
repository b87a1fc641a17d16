#include "dialog/win32_service_runner.h"

#include <windows.h>

namespace lathwell {
namespace {

constexpr DWORD kCommandTimeoutMs = 60000;

// A bare name is a system tool: it runs from the system folder, so a planted
// copy in Lathwell's folder or the current one never does.
std::string ProgramPath(const std::string& program) {
  if (program.find_first_of("\\/:") != std::string::npos) return program;
  char folder[MAX_PATH] = {};
  const UINT length = GetSystemDirectoryA(folder, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return {};
  return std::string(folder, length) + "\\" + program;
}

// The service's handle opened for a status query, or null with the system's reason.
class ServiceHandle {
 public:
  explicit ServiceHandle(const std::string& service) {
    manager_ = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT);
    if (manager_ == nullptr) return;
    service_ = OpenServiceA(manager_, service.c_str(), SERVICE_QUERY_STATUS);
    if (service_ == nullptr) error_ = GetLastError();
  }
  ~ServiceHandle() {
    if (service_ != nullptr) CloseServiceHandle(service_);
    if (manager_ != nullptr) CloseServiceHandle(manager_);
  }
  ServiceHandle(const ServiceHandle&) = delete;
  ServiceHandle& operator=(const ServiceHandle&) = delete;

  SC_HANDLE get() const { return service_; }
  // Without the service manager nothing is known to exist, so no wait hangs on it.
  bool Known() const { return manager_ != nullptr && error_ != ERROR_SERVICE_DOES_NOT_EXIST; }

 private:
  SC_HANDLE manager_ = nullptr;
  SC_HANDLE service_ = nullptr;
  DWORD error_ = ERROR_SUCCESS;
};

}  // namespace

std::optional<unsigned long> Win32ServiceRunner::Run(const ServiceCommand& command) {
  const std::string program = ProgramPath(command.program);
  if (program.empty()) return std::nullopt;
  std::string line = command.line;
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_HIDE;
  PROCESS_INFORMATION process = {};
  if (!CreateProcessA(program.c_str(), line.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                      nullptr, &startup, &process)) {
    return std::nullopt;
  }
  CloseHandle(process.hThread);
  DWORD exitCode = 0;
  const bool ended = WaitForSingleObject(process.hProcess, kCommandTimeoutMs) == WAIT_OBJECT_0 &&
                     GetExitCodeProcess(process.hProcess, &exitCode);
  CloseHandle(process.hProcess);
  if (!ended) return std::nullopt;
  return exitCode;
}

void Win32ServiceRunner::Pause(int milliseconds) {
  Sleep(static_cast<DWORD>(milliseconds));
}

bool Win32ServiceRunner::Exists(const std::string& service) {
  return ServiceHandle(service).Known();
}

bool Win32ServiceRunner::Running(const std::string& service) {
  ServiceHandle handle(service);
  SERVICE_STATUS status = {};
  return handle.get() != nullptr && QueryServiceStatus(handle.get(), &status) &&
         status.dwCurrentState == SERVICE_RUNNING;
}

}  // namespace lathwell
