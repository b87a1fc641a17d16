// srvany.exe: run as a service, starts the program line of the value
// "Application" of the service's Parameters key, in the program's own folder,
// and lives as long as it does.
// On stop the program gets WM_CLOSE and, after 10 s, is ended. A program
// that ends by itself stops the service with an error, so the service
// manager's failure actions apply.
#include <windows.h>

#include <string>

namespace {

constexpr DWORD kCloseGraceMs = 10000;
constexpr DWORD kPendingHintMs = kCloseGraceMs + 5000;

SERVICE_STATUS_HANDLE statusHandle = nullptr;
HANDLE stopRequested = nullptr;

void Report(DWORD state, DWORD exitCode = NO_ERROR, DWORD waitHint = 0) {
  SERVICE_STATUS status = {};
  status.dwServiceType = SERVICE_WIN32_OWN_PROCESS;
  status.dwCurrentState = state;
  status.dwControlsAccepted = state == SERVICE_RUNNING ? SERVICE_ACCEPT_STOP | SERVICE_ACCEPT_SHUTDOWN : 0;
  status.dwWin32ExitCode = exitCode;
  status.dwWaitHint = waitHint;
  SetServiceStatus(statusHandle, &status);
}

DWORD WINAPI Control(DWORD control, DWORD, void*, void*) {
  if (control == SERVICE_CONTROL_STOP || control == SERVICE_CONTROL_SHUTDOWN) {
    SetEvent(stopRequested);
    return NO_ERROR;
  }
  return control == SERVICE_CONTROL_INTERROGATE ? NO_ERROR : ERROR_CALL_NOT_IMPLEMENTED;
}

// The program line, or "" when the value is missing.
std::string ApplicationOf(const std::string& service) {
  const std::string key = "SYSTEM\\CurrentControlSet\\Services\\" + service + "\\Parameters";
  char line[4096] = {};
  DWORD size = sizeof line - 1;
  if (RegGetValueA(HKEY_LOCAL_MACHINE, key.c_str(), "Application", RRF_RT_REG_SZ, nullptr, line, &size) !=
      ERROR_SUCCESS) {
    return {};
  }
  return line;
}

// The folder of the line's program (quoted, or up to the first blank); ""
// when the line names no folder. Programs find their files beside them.
std::string ProgramFolder(const std::string& line) {
  const bool quoted = !line.empty() && line.front() == '"';
  const std::string program = quoted ? line.substr(1, line.find('"', 1) - 1) : line.substr(0, line.find(' '));
  const auto slash = program.find_last_of('\\');
  return slash == std::string::npos ? std::string() : program.substr(0, slash + 1);
}

BOOL CALLBACK CloseWindowOf(HWND window, LPARAM processId) {
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner == static_cast<DWORD>(processId)) PostMessageA(window, WM_CLOSE, 0, 0);
  return TRUE;
}

// Asks the program to close, and ends it when it has not within the grace time.
void EndProgram(const PROCESS_INFORMATION& program) {
  EnumWindows(CloseWindowOf, static_cast<LPARAM>(program.dwProcessId));
  if (WaitForSingleObject(program.hProcess, kCloseGraceMs) != WAIT_OBJECT_0)
    TerminateProcess(program.hProcess, 1);
}

void WINAPI ServiceMain(DWORD argc, char** argv) {
  const std::string service = argc > 0 ? argv[0] : "";
  statusHandle = RegisterServiceCtrlHandlerExA(service.c_str(), Control, nullptr);
  if (statusHandle == nullptr) return;
  Report(SERVICE_START_PENDING, NO_ERROR, kPendingHintMs);

  std::string line = ApplicationOf(service);
  if (line.empty()) {
    Report(SERVICE_STOPPED, ERROR_BAD_CONFIGURATION);
    return;
  }
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION program = {};
  const std::string folder = ProgramFolder(line);
  if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      folder.empty() ? nullptr : folder.c_str(), &startup, &program)) {
    Report(SERVICE_STOPPED, GetLastError());
    return;
  }
  CloseHandle(program.hThread);
  Report(SERVICE_RUNNING);

  const HANDLE waits[] = {stopRequested, program.hProcess};
  // The service lives as long as its program, until it is stopped.
  const DWORD woken = WaitForMultipleObjects(2, waits, FALSE, INFINITE);
  DWORD exitCode = NO_ERROR;
  if (woken == WAIT_OBJECT_0) {
    Report(SERVICE_STOP_PENDING, NO_ERROR, kPendingHintMs);
    EndProgram(program);
  } else {
    exitCode = ERROR_PROCESS_ABORTED;
  }
  CloseHandle(program.hProcess);
  Report(SERVICE_STOPPED, exitCode);
}

}  // namespace

int main() {
  stopRequested = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  char name[] = "";
  const SERVICE_TABLE_ENTRYA services[] = {{name, ServiceMain}, {nullptr, nullptr}};
  if (!StartServiceCtrlDispatcherA(services)) return static_cast<int>(GetLastError());
  return 0;
}
