// A host for the driver window without COM: opens a logical port on the
// simulator, shows the window, makes line traffic and register events, and
// prints what the window shows. It writes READY_FILE when the window is worth
// a look and ends when QUIT_FILE appears (or after a time-out), printing
// "exit 0" when the labels, the window and the tray icon were as expected.
//   driver_window_host WIRE_PORT CONTROL_PORT READY_FILE QUIT_FILE
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "protocol/protocol_test_support.h"
#include "window/main_form.h"

using namespace ravelin;

namespace {

constexpr int kPortNumber = 964;
constexpr DWORD kTimeoutMs = 60000;

struct PrintingNotifier final : Notifier {
  void Show(const std::string& text) override { std::printf("message: %s\n", text.c_str()); }
};

std::string Label(HWND window, int id) {
  char text[256] = {};
  GetDlgItemTextA(window, id, text, sizeof text);
  return text;
}

// 'T' frames to register 1: the longest answer the register gives, so the
// line graph shows bars worth seeing.
void MakeTraffic(TMainForm& form) {
  const char identity[] = {'T'};
  char answer[512];
  int length = sizeof answer, detail = 0;
  form.PortEcrIO(1, 3, identity, 1, answer, &length, &detail);
}

void Pump(DWORD ms) {
  const DWORD start = GetTickCount();
  while (GetTickCount() - start < ms) {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
    Sleep(10);
  }
}

// The window's tray icon exists when the notification area accepts a change to it.
bool TrayIconPresent(HWND window) {
  NOTIFYICONDATAA data{};
  data.cbSize = sizeof data;
  data.hWnd = window;
  data.uID = TTrayIcon::kIconId;
  data.uFlags = NIF_TIP;
  std::snprintf(data.szTip, sizeof data.szTip, "%s", kTrayTip);
  return Shell_NotifyIconA(NIM_MODIFY, &data) != FALSE;
}

bool FileExists(const char* path) { return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES; }

}  // namespace

int main(int argc, char** argv) {
  if (argc != 5) {
    std::fprintf(stderr, "usage: driver_window_host WIRE_PORT CONTROL_PORT READY_FILE QUIT_FILE\n");
    return 2;
  }
  const auto wirePort = static_cast<std::uint16_t>(std::atoi(argv[1]));
  protocol_test::SimControl sim(static_cast<std::uint16_t>(std::atoi(argv[2])));
  protocol_test::PortKey key(kPortNumber, protocol_test::EthernetPortValues(wirePort));

  PrintingNotifier notifier;
  TMainForm form(&notifier);
  ShowWindow(form.Handle(), SW_SHOWNOACTIVATE);
  const int opened = form.OpenLogicalPort(kPortNumber);
  std::printf("open %d: %d\n", kPortNumber, opened);
  if (opened != 0) return 1;

  // Traffic for a few periods of the statistics, and one event of each kind
  // nobody listens to.
  for (const char* event : {"event 1 88 414243", "event 1 70 12345678", "event 1 66 01", "event 1 89 0102"}) {
    sim.Run(event);
  }
  for (DWORD start = GetTickCount(); GetTickCount() - start < 3000;) {
    MakeTraffic(form);
    Pump(5);
  }

  const bool tray = TrayIconPresent(form.Handle());
  const HWND hwnd = form.Handle();
  std::printf("tray icon: %s\n", tray ? "present" : "missing");
  std::printf("visible: %d\n", IsWindowVisible(hwnd) ? 1 : 0);
  for (const auto& [name, id] : {std::pair{"media", idMediaT}, std::pair{"last period", idLastPeriod},
                                 std::pair{"data collection", idDataCollection}, std::pair{"enquiries", idEnquiry},
                                 std::pair{"interactivities", idInteractivities}}) {
    std::printf("%s: %s\n", name, Label(hwnd, id).c_str());
  }
  std::printf("last period: %s\n", Label(hwnd, idLastPeriod).c_str());
  std::fflush(stdout);
  std::ofstream(argv[3]) << "ready\n";

  const DWORD start = GetTickCount();
  while (!FileExists(argv[4]) && GetTickCount() - start < kTimeoutMs) {
    MakeTraffic(form);
    Pump(5);
  }
  const bool labelsRight = Label(hwnd, idDataCollection) == "2" && Label(hwnd, idEnquiry) == "1" &&
                           Label(hwnd, idInteractivities) == "1" && Label(hwnd, idMediaT) == "EthernetHostPC" &&
                           std::atoi(Label(hwnd, idLastPeriod).c_str()) > 0;
  const int exitCode = tray && labelsRight && IsWindowVisible(hwnd) ? 0 : 1;
  std::printf("exit %d\n", exitCode);
  return exitCode;
}
