#include "lathwell_window.h"

#include <cstdio>

#include "dialog/port_form_ids.h"

namespace lathwell_test {
namespace {

constexpr const char* kFormTitle = "Lathwell v2.0.0";
constexpr const char* kMessageTitle = "Lathwell";
constexpr int kMessageTextId = 0xFFFF;  // the static that holds a message box's text
// A modal box takes about 2 s to appear under Wine; the program's start about as long.
constexpr DWORD kWaitMs = 15000;

template <typename Condition>
bool WaitFor(Condition condition) {
  for (const DWORD start = GetTickCount(); GetTickCount() - start < kWaitMs; Sleep(20)) {
    if (condition()) return true;
  }
  return false;
}

// A message to the form's thread; an unexpected modal box cannot hang the
// test. False when it was not handled in time.
bool SendBounded(HWND window, UINT message, WPARAM wParam, LPARAM lParam, DWORD waitMs = kWaitMs) {
  DWORD_PTR result = 0;
  return SendMessageTimeoutA(window, message, wParam, lParam, SMTO_NORMAL, waitMs, &result) != 0;
}

std::string WindowText(HWND window) {
  char text[1024] = {};
  SendMessageA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
  return text;
}

std::string ProgramFolder() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder = path;
  return folder.substr(0, folder.rfind('\\') + 1);
}

HWND MessageBoxWindow() {
  return FindWindowA("#32770", kMessageTitle);
}

}  // namespace

std::optional<std::string> CommandOutput(const std::string& commandLine) {
  FILE* pipe = _popen(commandLine.c_str(), "r");
  if (pipe == nullptr) return std::nullopt;
  std::string output;
  char buffer[512];
  while (fgets(buffer, sizeof buffer, pipe) != nullptr) output += buffer;
  if (_pclose(pipe) != 0) return std::nullopt;
  return output;
}

LathwellWindow::LathwellWindow(const std::string& program, const std::string& workingFolder) {
  std::string commandLine = "\"" + (program.empty() ? ProgramFolder() + "Lathwell.exe" : program) + "\"";
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      workingFolder.empty() ? nullptr : workingFolder.c_str(), &startup, &process_)) {
    return;
  }
  // The dialog shows itself once its controls are made and filled.
  HWND form = nullptr;
  if (WaitFor(
          [&] { return (form = FindWindowA("#32770", kFormTitle)) != nullptr && IsWindowVisible(form); })) {
    form_ = form;
  }
}

LathwellWindow::~LathwellWindow() {
  if (process_.hProcess == nullptr) return;
  if (form_ != nullptr) PostMessageA(form_, WM_COMMAND, IDCANCEL, 0);
  if (WaitForSingleObject(process_.hProcess, kWaitMs) != WAIT_OBJECT_0)
    TerminateProcess(process_.hProcess, 1);
  CloseHandle(process_.hProcess);
  CloseHandle(process_.hThread);
}

std::string LathwellWindow::Text(int id) const {
  return WindowText(Control(id));
}

void LathwellWindow::TypePort(const std::string& text) {
  HWND edit = FindWindowExA(Control(IDC_LOGICAL_PORTS), nullptr, "Edit", nullptr);
  SendBounded(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(""));
  for (char key : text) SendBounded(edit, WM_CHAR, static_cast<unsigned char>(key), 1);
}

void LathwellWindow::PostKey(char key) {
  HWND edit = FindWindowExA(Control(IDC_LOGICAL_PORTS), nullptr, "Edit", nullptr);
  PostMessageA(edit, WM_CHAR, static_cast<unsigned char>(key), 1);
}

bool LathwellWindow::Click(int id, unsigned long waitMs) {
  return SendBounded(Control(id), BM_CLICK, 0, 0, waitMs);
}

void LathwellWindow::SetCheck(int id, bool checked) {
  SendBounded(Control(id), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

std::string LathwellWindow::ClickForMessage(int id) {
  PostMessageA(Control(id), BM_CLICK, 0, 0);
  return MessageText();
}

void LathwellWindow::Choose(int listId, const std::string& entry) {
  HWND list = Control(listId);
  const LRESULT index = SendMessageA(list, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                     reinterpret_cast<LPARAM>(entry.c_str()));
  SendMessageA(list, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  SendBounded(form_, WM_COMMAND, MAKEWPARAM(listId, CBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
}

void LathwellWindow::SetText(int id, const std::string& text) {
  SendBounded(Control(id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

std::string LathwellWindow::MessageText() {
  HWND box = nullptr;
  if (!WaitFor([&] {
        return (box = MessageBoxWindow()) != nullptr && GetDlgItem(box, kMessageTextId) != nullptr;
      })) {
    return {};
  }
  return WindowText(GetDlgItem(box, kMessageTextId));
}

bool LathwellWindow::PickFile(int id, const std::string& name) {
  constexpr int kFileNameBox = 0x47C;  // the file dialog's name field (cmb13)
  PostMessageA(Control(id), BM_CLICK, 0, 0);
  HWND picker = nullptr;
  if (!WaitFor(
          [&] { return (picker = FindWindowA("#32770", "Open")) != nullptr && IsWindowVisible(picker); })) {
    return false;
  }
  SendBounded(GetDlgItem(picker, kFileNameBox), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(name.c_str()));
  PostMessageA(GetDlgItem(picker, IDOK), BM_CLICK, 0, 0);
  return WaitFor([&] { return !IsWindow(picker); });
}

bool LathwellWindow::Answer(int button) {
  HWND box = MessageBoxWindow();
  if (box == nullptr) return false;
  PostMessageA(GetDlgItem(box, button), BM_CLICK, 0, 0);
  return WaitFor([&] { return !IsWindow(box); });
}

std::optional<std::string> RegQuery(const std::string& key, const std::string& value, const std::string& root) {
  const auto output = CommandOutput("reg query \"" + root + "\\" + key + "\" /v \"" + value + "\" 2>nul");
  if (!output) return std::nullopt;
  // "    Name    REG_SZ    text"
  const std::string marker = "REG_SZ";
  const auto found = output->find(marker);
  if (found == std::string::npos) return std::nullopt;
  const std::string line =
      output->substr(found + marker.size(), output->find_first_of("\r\n", found) - found - marker.size());
  const auto start = line.find_first_not_of(' ');
  return start == std::string::npos ? std::string() : line.substr(start);
}

SettingValue::SettingValue(HKEY root, const std::string& key, const char* name, const std::string& value)
    : root_(root), key_(key), name_(name) {
  char text[1024];
  DWORD size = sizeof text;
  if (RegGetValueA(root, key.c_str(), name, RRF_RT_REG_SZ, nullptr, text, &size) == ERROR_SUCCESS) old_ = text;
  Write(value);
}

SettingValue::~SettingValue() {
  if (old_)
    Write(*old_);
  else
    RegDeleteKeyValueA(root_, key_.c_str(), name_);
}

void SettingValue::Write(const std::string& value) const {
  RegSetKeyValueA(root_, key_.c_str(), name_, REG_SZ, value.c_str(), static_cast<DWORD>(value.size() + 1));
}

bool RegKeyExists(const std::string& key) {
  return CommandOutput("reg query \"HKLM\\" + key + "\" >nul 2>nul").has_value();
}

}  // namespace lathwell_test
