// Ravelin's entry: registration switches, then the COM local server on the
// program's one thread (apartment threading) until the window closes or, when
// COM started the program, its last object is released.
#include <windows.h>
#include <objbase.h>

#include <string>

#include "com/class_factory.h"
#include "com/client_call_bound.h"
#include "com/com_registration.h"
#include "com/server_module.h"
#include "com/tallis_interface_impl.h"
#include "command_switches.h"
#include "port_session.h"

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

// The application's own hidden window, titled "Ravelin": what tools look for
// to tell that the program runs.
constexpr char kApplicationClass[] = "RavelinApplication";
constexpr char kApplicationTitle[] = "Ravelin";

HWND CreateApplicationWindow() {
  const HINSTANCE instance = GetModuleHandleA(nullptr);
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = DefWindowProcA;
  windowClass.hInstance = instance;
  windowClass.lpszClassName = kApplicationClass;
  RegisterClassA(&windowClass);
  return CreateWindowExA(WS_EX_TOOLWINDOW, kApplicationClass, kApplicationTitle, WS_POPUP, 0, 0, 0, 0, nullptr,
                         nullptr, instance, nullptr);
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
  // The session is made before the class object is offered, so the first
  // client finds the window; it goes after the class object is revoked,
  // taking the tray icon with it.
  const HWND application = CreateApplicationWindow();
  // The register's events and the spooler's timer must not wait for other work.
  SetPriorityClass(GetCurrentProcess(), HIGH_PRIORITY_CLASS);
  std::unique_ptr<IPortSession> session = MakePortSession(options);
  int exitCode = 1;
  if (session) {
    TClassFactory factory(*session);
    TClientCallBound callBound;
    HRESULT hr;
    if (const DWORD cookie = RegisterClassObject(factory, hr)) {
      exitCode = RunMessageLoop();
      RevokeClassObject(cookie);
    }
    // Clients still connected would otherwise be released by COM after the
    // session is gone, and their objects would close a port that no longer exists.
    TTallisInterfaceImpl::DisconnectAll();
    session.reset();
  }
  if (application) DestroyWindow(application);
  return exitCode;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR arguments, int) {
  if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return 1;
  const int exitCode = Run(ravelin::ParseCommandLine(arguments ? arguments : ""));
  CoUninitialize();
  return exitCode;
}
