// Ravelin's entry: registration switches, then the COM local server on the
// program's one thread (apartment threading) until the window closes or, when
// COM started the program, its last object is released.
#include <windows.h>
#include <objbase.h>

#include <string>

#include "class_factory.h"
#include "com_registration.h"
#include "command_switches.h"
#include "port_session.h"
#include "server_module.h"

namespace {

std::wstring ProgramPath() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return {};
    if (length < path.size()) {
      path.resize(length);
      return path;
    }
    path.resize(path.size() * 2);
  }
}

int RunMessageLoop() {
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return 0;
}

int Run(const ravelin::TStartOptions& options) {
  using namespace ravelin;
  const std::wstring path = ProgramPath();
  if (options.regServer) return SUCCEEDED(RegisterServer(path)) ? 0 : 1;
  if (options.unregServer) return SUCCEEDED(UnregisterServer()) ? 0 : 1;
  // Started by hand or by a service: refresh the registration's paths.
  if (!options.StartedByCom()) RegisterServer(path);

  InitServerModule(GetCurrentThreadId(), options.StartedByCom());
  std::unique_ptr<IPortSession> session = MakePortSession(options);
  if (!session) return 1;
  TClassFactory factory(*session);
  HRESULT hr;
  const DWORD cookie = RegisterClassObject(factory, hr);
  if (!cookie) return 1;
  const int exitCode = RunMessageLoop();
  RevokeClassObject(cookie);
  return exitCode;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR arguments, int) {
  if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return 1;
  const int exitCode = Run(ravelin::ParseCommandLine(arguments ? arguments : ""));
  CoUninitialize();
  return exitCode;
}
