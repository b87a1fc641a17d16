// The product server running AutoRun against the simulator: a spooler
// process started with "/p 1" and a process started by hand in single-port
// mode, with real command files and the prefix's registry. A programming-table
// dump dropped as a command file programs a fresh register.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "config/config_lines.h"
#include "protocol/protocol_test_support.h"
#include "sample_tables.h"
#include "window/main_form.h"

namespace {

constexpr char kSettingsKey[] = "Software\\Velmora\\Drivers\\Corvane\\FirmwareA";
constexpr char kPortNotOpened[] = "I/O Errror <Verificare Collegamento>";
constexpr DWORD kRunTimeoutMs = 60000;

std::string ProgramBeside(const char* fileName) {
  char path[MAX_PATH];
  const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder(path, length);
  folder.resize(folder.find_last_of("\\/") + 1);
  return folder + fileName;
}

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFile(const std::string& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

bool WaitFor(const std::function<bool()>& done, DWORD timeoutMs = kRunTimeoutMs) {
  const DWORD start = GetTickCount();
  while (!done()) {
    if (GetTickCount() - start > timeoutMs) return false;
    Sleep(10);
  }
  return true;
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
    if (HWND form = FindWindowA(ravelin::kMainFormClass, nullptr)) PostMessageA(form, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process_.hProcess, 10000) != WAIT_OBJECT_0) {
      TerminateProcess(process_.hProcess, 0);
      WaitForSingleObject(process_.hProcess, 10000);
    }
    CloseHandle(process_.hThread);
    CloseHandle(process_.hProcess);
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

BOOL CALLBACK CountDialog(HWND window, LPARAM data) {
  auto* search = reinterpret_cast<DialogSearch*>(data);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  char className[64] = {};
  GetClassNameA(window, className, sizeof className);
  if (owner == search->processId && std::string(className) == "#32770" && IsWindowVisible(window)) ++search->found;
  return TRUE;
}

// Dialog boxes (message boxes) the process shows.
int DialogsOf(DWORD processId) {
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
    for (const std::string& name : Listing()) DeleteFileA((spool_ + name).c_str());
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
    if (!WaitFor([&] { return !Exists(file); })) return "not run";
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

TEST_F(AutoRunEndToEnd, SpoolerRunsEveryDroppedFileInNameOrderAndDeletesEachAfterItsBatch) {
  constexpr int kFiles = 20;
  SettingValue spooler(HKEY_LOCAL_MACHINE, "EnableSpoolerAutoRun", "1");
  protocol_test::PortKey key(1, PortValues());
  {
    // The spooler creates its folder at start; the producer drops its files
    // before that here, into the same folder.
    ASSERT_TRUE(CreateDirectoryA(spool_.substr(0, spool_.size() - 3).c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryA(spool_.c_str(), nullptr));
  }
  // Written in reverse: the order a folder lists them in must not matter.
  for (int n = kFiles; n >= 1; --n) WriteFile(spool_ + CommandName(n) + ".txt", "#4\r\n#4\r\n");
  ASSERT_TRUE(sim_->Ok("log 1 clear"));

  Ravelin server("/p 1");
  ASSERT_TRUE(server.Started());
  int ran = 0;
  std::string broken;
  const bool allRan = WaitFor([&] {
    // At every moment the files left are the last ones by name, and every
    // file gone has its errors file.
    // Looked at from the last name back: a sound spooler deleted every file
    // before one seen gone, so no earlier file can show up again.
    std::vector<bool> present(kFiles + 1);
    for (int n = kFiles; n >= 1; --n) present[n] = Exists(spool_ + CommandName(n) + ".txt");
    int firstLeft = kFiles + 1;
    for (int n = kFiles; n >= 1; --n)
      if (present[n]) firstLeft = n;
    for (int n = firstLeft; n <= kFiles && broken.empty(); ++n)
      if (!present[n]) broken = CommandName(n) + " ran before " + CommandName(firstLeft);
    for (int n = 1; n < firstLeft && broken.empty(); ++n)
      if (!Exists(spool_ + CommandName(n) + ".err")) broken = CommandName(n) + " deleted without an errors file";
    ran = firstLeft - 1;
    return ran == kFiles || !broken.empty();
  });
  ASSERT_TRUE(broken.empty()) << broken;
  ASSERT_TRUE(allRan) << ran << " of " << kFiles << " files ran";
  for (int n = 1; n <= kFiles; ++n) EXPECT_EQ(ReadFile(spool_ + CommandName(n) + ".err"), "") << CommandName(n);
  EXPECT_GE(FrameCount(), 2 * kFiles) << "every line reached the register";
  EXPECT_TRUE(server.Running());
  EXPECT_EQ(DialogsOf(server.Id()), 0);
}

TEST_F(AutoRunEndToEnd, FailingLineIsReportedInItsErrorsFileAndAPortThatWillNotOpenKeepsTheFile) {
  ASSERT_NO_FATAL_FAILURE(StartSpooler());

  // An empty file: how many frames opening the port costs.
  ASSERT_TRUE(sim_->Ok("log 1 clear"));
  WriteFile(spool_ + "cmd00.txt", "");
  ASSERT_TRUE(WaitFor([&] { return !Exists(spool_ + "cmd00.txt"); }));
  const int openFrames = FrameCount();
  // Slave mode goes on before the batch and off after it.
  const std::vector<std::string> frames = Frames();
  const auto on = std::find(frames.begin(), frames.end(), "4801");
  EXPECT_NE(on, frames.end());
  EXPECT_NE(std::find(on, frames.end(), "4800"), frames.end());

  // The register answers the second line's frame with a wrong letter. The
  // empty file cost the opening and two slave-mode lines of three frames each;
  // this one's second line comes after the opening, one slave-mode line and
  // the first line.
  constexpr int kSlaveModeFrames = 3;  // status, slave-mode query, 'H' 1 or 'H' 0
  ASSERT_TRUE(sim_->Ok("fault 1 letter Z after " + std::to_string(openFrames - kSlaveModeFrames + 1)));
  WriteFile(spool_ + "cmd01.txt", "#4\r\n#4\r\n#4\r\n");
  ASSERT_TRUE(WaitFor([&] { return !Exists(spool_ + "cmd01.txt"); }));
  const std::string errors = ReadFile(spool_ + "cmd01.err");
  EXPECT_NE(errors.find("in line 2 "), std::string::npos) << errors;
  EXPECT_EQ(errors.find("in line 1 "), std::string::npos) << errors;
  EXPECT_EQ(errors.find("in line 3 "), std::string::npos) << errors;
}

TEST_F(AutoRunEndToEnd, FileWhosePortWillNotOpenStaysAndRunsOnceThePortOpens) {
  SettingValue spooler(HKEY_LOCAL_MACHINE, "EnableSpoolerAutoRun", "1");
  std::optional<protocol_test::PortKey> key;
  // Nothing listens on that port.
  key.emplace(1, [&] {
    auto unreachable = protocol_test::EthernetPortValues(1);
    unreachable["AutoRun CommandFile"] = spool_ + "cmd*.txt";
    return unreachable;
  }());
  Ravelin server("/p 1");
  ASSERT_TRUE(server.Started());
  ASSERT_TRUE(WaitFor([&] { return Exists(spool_); }, 20000));
  WriteFile(spool_ + "cmd02.txt", "#4\r\n");
  ASSERT_TRUE(WaitFor([&] { return ReadFile(spool_ + "cmd02.err") == kPortNotOpened; }));
  EXPECT_TRUE(Exists(spool_ + "cmd02.txt"));
  EXPECT_EQ(DialogsOf(server.Id()), 0);
  key.reset();
  key.emplace(1, PortValues());
  ASSERT_TRUE(WaitFor([&] { return !Exists(spool_ + "cmd02.txt"); }));
  EXPECT_EQ(ReadFile(spool_ + "cmd02.err"), "");
}

TEST_F(AutoRunEndToEnd, ProgrammingTablesDumpDroppedAsACommandFileProgramsAFreshRegister) {
  ASSERT_NO_FATAL_FAILURE(StartSpooler());
  ASSERT_NO_FATAL_FAILURE(FreshSampleTablesRegister());
  std::string programming;
  for (const char* line : quadrel_test::kSampleTableLines) programming += line + std::string("\r\n");
  ASSERT_EQ(RunCommandFile("cmd01", programming + DumpLines("first.dmp")), "");
  const std::string dump = ReadFile(spool_ + "first.dmp");

  ASSERT_NO_FATAL_FAILURE(FreshSampleTablesRegister());
  ASSERT_EQ(RunCommandFile("cmd02", DumpLines("fresh.dmp")), "");
  EXPECT_NE(ReadFile(spool_ + "fresh.dmp"), dump) << "the register is not fresh";
  EXPECT_EQ(RunCommandFile("cmd03", dump), "");
  ASSERT_EQ(RunCommandFile("cmd04", DumpLines("second.dmp")), "");
  EXPECT_EQ(ReadFile(spool_ + "second.dmp"), dump);
}

TEST_F(AutoRunEndToEnd, SpoolFolderWithAnApostropheACommaAndASemicolonRunsItsFiles) {
  spool_ = Parent() + "Dell'Acqua, n;1\\";
  ASSERT_NO_FATAL_FAILURE(StartSpooler());
  WriteFile(spool_ + "cmd01.txt", "#4\r\n");
  ASSERT_TRUE(WaitFor([&] { return !Exists(spool_ + "cmd01.txt"); }));
  EXPECT_EQ(ReadFile(spool_ + "cmd01.err"), "");
}

TEST_F(AutoRunEndToEnd, FileWhoseErrorsFileCannotBeWrittenIsNotRunAgainAndKeepsItsResults) {
  ASSERT_NO_FATAL_FAILURE(StartSpooler());
  // The producer still reads the errors file of its previous drop, sharing nothing.
  WriteFile(spool_ + "cmd01.err", "previous");
  HANDLE reader = CreateFileA((spool_ + "cmd01.err").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(reader, INVALID_HANDLE_VALUE);
  WriteFile(spool_ + "cmd01.txt", "#4\r\n");
  const bool gone = WaitFor([&] { return !Exists(spool_ + "cmd01.txt"); });
  CloseHandle(reader);
  ASSERT_TRUE(gone);
  EXPECT_FALSE(Exists(spool_ + "cmd01.txt.notrun")) << "its line ran";
  EXPECT_TRUE(Exists(spool_ + "cmd01.err.tmp")) << "the results are kept";
}

TEST_F(AutoRunEndToEnd, SpoolerProcessWithAnUnknownPortLogsInsteadOfShowingABox) {
  SettingValue spooler(HKEY_LOCAL_MACHINE, "EnableSpoolerAutoRun", "1");
  // Only the pattern: the port has no type, which a window would report in a box.
  protocol_test::PortKey key(7, {{"AutoRun CommandFile", spool_ + "cmd*.txt"}});
  Ravelin server("/p 7");
  ASSERT_TRUE(server.Started());
  ASSERT_TRUE(WaitFor([&] { return Exists(spool_); }, 20000));
  WriteFile(spool_ + "cmd01.txt", "#4\r\n");
  ASSERT_TRUE(WaitFor([&] { return ReadFile(spool_ + "cmd01.err") == kPortNotOpened; }));
  Sleep(2500);  // a box takes about 2 s to appear under Wine
  EXPECT_EQ(DialogsOf(server.Id()), 0);
  EXPECT_TRUE(Exists(spool_ + "cmd01.txt"));
}

TEST_F(AutoRunEndToEnd, HandStartedProcessRunsTheUsersFileAndLeavesThePortsSpoolAlone) {
  SettingValue spooler(HKEY_LOCAL_MACHINE, "EnableSpoolerAutoRun", "1");
  protocol_test::PortKey key(1, PortValues());
  ASSERT_TRUE(CreateDirectoryA(spool_.substr(0, spool_.size() - 3).c_str(), nullptr));
  ASSERT_TRUE(CreateDirectoryA(spool_.c_str(), nullptr));
  WriteFile(spool_ + "cmd01.txt", "#4\r\n");
  const std::string single = spool_ + "single.dat";
  const std::string errors = spool_ + "single.log";
  WriteFile(single, "#4\r\nNOSUCHINSTRUCTION\r\n");
  SettingValue port(HKEY_CURRENT_USER, "AutoRun", "1");
  SettingValue commandFile(HKEY_CURRENT_USER, "AutoRun CommandFile", single);
  SettingValue errorsFile(HKEY_CURRENT_USER, "AutoRun ErrorsFile", errors);

  Ravelin server("");
  ASSERT_TRUE(server.Started());
  ASSERT_TRUE(WaitFor([&] { return !Exists(single); }));
  EXPECT_NE(ReadFile(errors).find("in line 2 "), std::string::npos) << ReadFile(errors);
  // The group shows the last answer.
  HWND form = nullptr;
  ASSERT_TRUE(WaitFor([&] {
    form = FindWindowA(ravelin::kMainFormClass, nullptr);
    HWND group = form ? GetDlgItem(form, ravelin::idAutoRunGroup) : nullptr;
    // The window itself stays hidden; the group is shown in it.
    return group && (GetWindowLongA(group, GWL_STYLE) & WS_VISIBLE) != 0;
  }, 10000));
  Sleep(1000);
  EXPECT_TRUE(Exists(spool_ + "cmd01.txt")) << "spooler mode needs \"/p\"";
  EXPECT_FALSE(Exists(spool_ + "cmd01.err"));
}

}  // namespace
