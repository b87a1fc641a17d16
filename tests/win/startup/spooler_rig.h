// The rig of the AutoRun tests against the simulator: Ravelin.exe of the
// build started as a spooler ("/p 1") or by hand, settings in the prefix's
// registry restored after each test, and a scratch spool folder.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <tlhelp32.h>  // after windows.h

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "config/config_lines.h"
#include "protocol/protocol_test_support.h"
#include "sample_tables.h"
#include "window/main_form.h"

namespace spooler_test {

inline constexpr char kSettingsKey[] = "Software\\Velmora\\Drivers\\Corvane\\FirmwareA";
inline constexpr char kPortNotOpened[] = "I/O Errror <Verificare Collegamento>";
inline constexpr DWORD kRunTimeoutMs = 60000;

inline std::string ProgramBeside(const char* fileName) {
  char path[MAX_PATH];
  const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder(path, length);
  folder.resize(folder.find_last_of("\\/") + 1);
  return folder + fileName;
}

inline bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// The command file ran: gone under its name and under the one it runs under.
inline bool Spooled(const std::string& commandFile) {
  return !Exists(commandFile) && !Exists(commandFile + ".running");
}

inline std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteFile(const std::string& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

inline bool WaitFor(const std::function<bool()>& done, DWORD timeoutMs = kRunTimeoutMs) {
  const DWORD start = GetTickCount();
  while (!done()) {
    if (GetTickCount() - start > timeoutMs) return false;
    Sleep(10);
  }
  return true;
}

inline void EndProcessesNamed(const char* name) {
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  PROCESSENTRY32 entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry)) {
    if (_stricmp(entry.szExeFile, name) != 0) continue;
    if (HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, entry.th32ProcessID)) {
      TerminateProcess(process, 1);
      WaitForSingleObject(process, 10000);
      CloseHandle(process);
    }
  }
  CloseHandle(snapshot);
}

// The driver window of the process `processId` (several may run).
inline HWND FormOf(DWORD processId) {
  for (HWND form = FindWindowExA(nullptr, nullptr, ravelin::kMainFormClass, nullptr); form;
       form = FindWindowExA(nullptr, form, ravelin::kMainFormClass, nullptr)) {
    DWORD owner = 0;
    GetWindowThreadProcessId(form, &owner);
    if (owner == processId) return form;
  }
  return nullptr;
}

// Ravelin.exe of the build, killed at the end of the test whatever happened.
class Ravelin {
 public:
  explicit Ravelin(const std::string& arguments) {
    std::string line = "\"" + ProgramBeside("Ravelin.exe") + "\" " + arguments;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    started_ = CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                              &process_) != 0;
  }
  ~Ravelin() {
    if (!started_) return;
    // Closed through its window, so it revokes its class object: a killed
    // server leaves COM pointing at a process that is gone.
    if (HWND form = FormOf(Id())) PostMessageA(form, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process_.hProcess, 10000) != WAIT_OBJECT_0) Kill();
    CloseHandle(process_.hThread);
    CloseHandle(process_.hProcess);
  }
  // As a crash or a power cut ends it: nothing of its own runs. Wine's COM
  // service keeps the class object the dead process registered and would
  // send every later client to it: the service is ended too, and COM starts
  // it afresh at its next call (the rig's prefix only sees its own processes).
  void Kill() {
    TerminateProcess(process_.hProcess, 0);
    WaitForSingleObject(process_.hProcess, 10000);
    EndProcessesNamed("rpcss.exe");
  }
  bool Started() const { return started_; }
  DWORD Id() const { return process_.dwProcessId; }
  bool Running() const { return started_ && WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT; }

 private:
  PROCESS_INFORMATION process_{};
  bool started_ = false;
};

// One string value, restored (or removed) at the end of the test.
class SettingValue {
 public:
  SettingValue(HKEY root, const char* name, const std::string& value) : root_(root), name_(name) {
    char buffer[1024];
    DWORD size = sizeof buffer;
    if (RegGetValueA(root, kSettingsKey, name, RRF_RT_REG_SZ, nullptr, buffer, &size) == ERROR_SUCCESS)
      old_ = buffer;
    Write(value);
  }
  ~SettingValue() {
    if (old_) {
      Write(*old_);
    } else {
      HKEY key;
      if (RegOpenKeyExA(root_, kSettingsKey, 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
        RegDeleteValueA(key, name_.c_str());
        RegCloseKey(key);
      }
    }
  }

 private:
  void Write(const std::string& value) {
    RegSetKeyValueA(root_, kSettingsKey, name_.c_str(), REG_SZ, value.c_str(), static_cast<DWORD>(value.size() + 1));
  }
  HKEY root_;
  std::string name_;
  std::optional<std::string> old_;
};

struct DialogSearch {
  DWORD processId;
  int found;
};

inline BOOL CALLBACK CountDialog(HWND window, LPARAM data) {
  auto* search = reinterpret_cast<DialogSearch*>(data);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  char className[64] = {};
  GetClassNameA(window, className, sizeof className);
  if (owner == search->processId && std::string(className) == "#32770" && IsWindowVisible(window)) ++search->found;
  return TRUE;
}

// Dialog boxes (message boxes) the process shows.
inline int DialogsOf(DWORD processId) {
  DialogSearch search{processId, 0};
  EnumWindows(CountDialog, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

class AutoRunEndToEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    // A folder the spooler must create itself.
    spool_ = std::string(temp) + "ravelin-spool-" + std::to_string(GetCurrentProcessId()) + "\\in\\";
    sim_.emplace(protocol_test::FixturePorts().control);
    ASSERT_TRUE(sim_->Ok("fault 1 clear"));
  }
  void TearDown() override {
    spooler_.reset();
    // Wide and read-only names too: a folder left behind would fail the next
    // test process of the same number.
    const std::wstring folder(spool_.begin(), spool_.end());
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"*").c_str(), &found);
    for (BOOL more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileW(search, &found)) {
      SetFileAttributesW((folder + found.cFileName).c_str(), FILE_ATTRIBUTE_NORMAL);
      DeleteFileW((folder + found.cFileName).c_str());
    }
    if (search != INVALID_HANDLE_VALUE) FindClose(search);
    RemoveDirectoryA(spool_.c_str());
    RemoveDirectoryA(Parent().c_str());
    if (sim_) sim_->Ok("fault 1 clear");
    if (sim_) sim_->Ok("register 1 t72");  // the built-in register the other tests expect
  }
  std::string Parent() const { return spool_.substr(0, spool_.find_last_of('\\', spool_.size() - 2) + 1); }
  std::map<std::string, std::string> PortValues() const {
    auto values = protocol_test::EthernetPortValues(protocol_test::FixturePorts().wire);
    values["AutoRun CommandFile"] = spool_ + "cmd*.txt";
    return values;
  }
  std::vector<std::string> Listing() const {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((spool_ + "*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
      if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.emplace_back(found.cFileName);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    std::sort(names.begin(), names.end());
    return names;
  }
  // Frames the register answered since the last clear.
  int FrameCount() {
    std::istringstream log(sim_->Run("log 1"));
    int frames = 0;
    for (std::string line; std::getline(log, line);) frames += line.find(" -> ") != std::string::npos;
    return frames;
  }
  // The frames the register answered since the last clear, in hex.
  std::vector<std::string> Frames() {
    std::istringstream log(sim_->Run("log 1"));
    std::vector<std::string> frames;
    for (std::string line; std::getline(log, line);) {
      const std::size_t arrow = line.find(" -> ");
      const std::size_t start = line.find(' ');
      if (arrow == std::string::npos || start >= arrow) continue;
      std::string hex;
      for (char c : line.substr(start + 1, arrow - start - 1))
        if (c != ' ') hex += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
      frames.push_back(hex);
    }
    return frames;
  }
  // Port 1's spooler on the fixture's simulator, once it made its folder.
  void StartSpooler() {
    spooler_.emplace(PortValues());
    ASSERT_TRUE(spooler_->server.Started());
    ASSERT_TRUE(WaitFor([&] { return Exists(spool_); }, 20000)) << "the spooler creates its folder";
  }
  // Drops `text` as the command file `name` (written aside and renamed, as a
  // producer does) and gives its errors file once the spooler took it.
  std::string RunCommandFile(const std::string& name, const std::string& text) {
    const std::string file = spool_ + name + ".txt";
    WriteFile(spool_ + name + ".part", text);
    if (!MoveFileA((spool_ + name + ".part").c_str(), file.c_str())) return "not dropped";
    if (!WaitFor([&] { return Spooled(file); })) return "not run";
    return Exists(spool_ + name + ".err") ? ReadFile(spool_ + name + ".err") : "no errors file";
  }
  // Register 1 anew, shaped to hold every sample table.
  void FreshSampleTablesRegister() {
    for (const std::string& line : ecrsim::ConfigLines(1, quadrel_test::SampleTablesConfig()))
      ASSERT_TRUE(sim_->Ok(line)) << line;
  }
  std::string DumpLines(const std::string& fileName) const {
    std::string text;
    for (const std::string& line : quadrel_test::SampleTableDumpLines(spool_ + fileName))
      text += line + "\r\n";
    return text;
  }
  static std::string CommandName(int n) {
    char name[16];
    std::snprintf(name, sizeof name, "cmd%02d", n);
    return name;
  }

  struct Spooler {
    explicit Spooler(const std::map<std::string, std::string>& portValues) : key(1, portValues) {}
    SettingValue enabled{HKEY_LOCAL_MACHINE, "EnableSpoolerAutoRun", "1"};
    protocol_test::PortKey key;
    Ravelin server{"/p 1"};
  };

  std::string spool_;
  std::optional<protocol_test::SimControl> sim_;
  std::optional<Spooler> spooler_;
};

}  // namespace spooler_test
