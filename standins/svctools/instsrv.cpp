// instsrv.exe NAME PROGRAM: creates NAME as an automatically started service
// that runs PROGRAM. Exit code 0, or the system's error code.
#include <windows.h>

#include <cstdio>
#include <string>

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: instsrv NAME PROGRAM\n");
    return ERROR_INVALID_PARAMETER;
  }
  SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CREATE_SERVICE);
  if (manager == nullptr) return static_cast<int>(GetLastError());
  // Quoted, so a blank in the path cannot make the system run another program.
  const std::string binaryPath = "\"" + std::string(argv[2]) + "\"";
  SC_HANDLE service = CreateServiceA(manager, argv[1], argv[1], SERVICE_ALL_ACCESS, SERVICE_WIN32_OWN_PROCESS,
                                     SERVICE_AUTO_START, SERVICE_ERROR_NORMAL, binaryPath.c_str(), nullptr,
                                     nullptr, nullptr, nullptr, nullptr);
  const DWORD error = service == nullptr ? GetLastError() : ERROR_SUCCESS;
  if (service != nullptr) CloseServiceHandle(service);
  CloseServiceHandle(manager);
  if (error != ERROR_SUCCESS) std::fprintf(stderr, "instsrv: cannot create %s (error %lu)\n", argv[1], error);
  return static_cast<int>(error);
}
