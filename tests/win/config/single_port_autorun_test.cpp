// Single-port AutoRun set through Lathwell's form, run by a Ravelin started
// by hand against the simulator: the dropped command file runs, is deleted
// and leaves its errors file. Then the spooler box takes over.
#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>

#include "dialog/port_form_ids.h"
#include "interfaces/registry.h"
#include "lathwell_window.h"
#include "protocol/protocol_test_support.h"
#include "window/main_form.h"

namespace lathwell_test {
namespace {

constexpr int kPort = 947;
const std::string kScratch = "C:\\lathwell-autorun\\";
constexpr DWORD kRunWaitMs = 60000;

bool Exists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string ProgramBeside(const char* fileName) {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  const std::string file = path;
  return file.substr(0, file.rfind('\\') + 1) + fileName;
}

// Ravelin.exe started as a user would, in the folder of the definitions
// files; closed through its window at the end.
class HandStartedRavelin {
 public:
  HandStartedRavelin() {
    std::string line = "\"" + ProgramBeside("Ravelin.exe") + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    started_ = CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, DRIVERS_DIR, &startup,
                              &process_) != 0;
  }
  ~HandStartedRavelin() {
    if (!started_) return;
    if (HWND form = FindWindowA(ravelin::kMainFormClass, nullptr)) PostMessageA(form, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process_.hProcess, 10000) != WAIT_OBJECT_0) TerminateProcess(process_.hProcess, 1);
    CloseHandle(process_.hThread);
    CloseHandle(process_.hProcess);
  }
  bool Started() const { return started_; }

 private:
  PROCESS_INFORMATION process_{};
  bool started_ = false;
};

TEST(SinglePortAutoRunEndToEnd, TheFormsSettingsRunTheDroppedCommandFileUntilTheSpoolerBoxTakesOver) {
  const std::string settings = registry::kDriverKey;
  const std::string commandFile = kScratch + "cmd.dat";
  const std::string errorsFile = kScratch + "cmd.err";
  CreateDirectoryA(kScratch.c_str(), nullptr);
  DeleteFileA(errorsFile.c_str());
  protocol_test::PortKey port(kPort, protocol_test::EthernetPortValues(protocol_test::FixturePorts().wire));
  const AutoRunOff autoRunOff;
  {
    LathwellWindow lathwell;
    ASSERT_NE(lathwell.Form(), nullptr);
    lathwell.Click(IDC_AUTO_RUN);
    EXPECT_TRUE(lathwell.Visible(IDC_AUTO_RUN_GROUP));
    lathwell.SetText(IDC_AUTO_RUN_PORT, std::to_string(kPort));
    lathwell.SetText(IDC_AUTO_RUN_COMMAND_FILE, commandFile);
    lathwell.SetText(IDC_AUTO_RUN_ERRORS_FILE, errorsFile);
    EXPECT_TRUE(lathwell.Enabled(IDC_UPDATE_AUTO_RUN));
    lathwell.Click(IDC_UPDATE_AUTO_RUN);
    EXPECT_FALSE(lathwell.Enabled(IDC_UPDATE_AUTO_RUN));
  }
  ASSERT_EQ(RegQuery(settings, "AutoRun", "HKCU"), std::to_string(kPort));

  protocol_test::SimControl sim(protocol_test::FixturePorts().control);
  sim.Run("log 1 clear");
  HandStartedRavelin ravelin;
  ASSERT_TRUE(ravelin.Started());
  std::ofstream(kScratch + "cmd.part", std::ios::binary) << "NULLA\r\nCANCELLA\r\n";
  ASSERT_TRUE(MoveFileA((kScratch + "cmd.part").c_str(), commandFile.c_str()));
  bool ran = false;
  for (const DWORD start = GetTickCount(); !ran && GetTickCount() - start < kRunWaitMs; Sleep(100)) {
    ran = !Exists(commandFile) && Exists(errorsFile);
  }
  EXPECT_TRUE(ran);
  EXPECT_NE(sim.Run("log 1").find("->"), std::string::npos);

  LathwellWindow lathwell;
  ASSERT_NE(lathwell.Form(), nullptr);
  EXPECT_EQ(lathwell.Text(IDC_AUTO_RUN_COMMAND_FILE), commandFile);
  lathwell.Click(IDC_AUTO_RUN_SPOOLER);
  EXPECT_FALSE(lathwell.Checked(IDC_AUTO_RUN));
  EXPECT_FALSE(lathwell.Visible(IDC_AUTO_RUN_GROUP));
  EXPECT_EQ(RegQuery(settings, "AutoRun", "HKCU"), "0");
  EXPECT_EQ(RegQuery(settings, "EnableSpoolerAutoRun"), "1");
}

}  // namespace
}  // namespace lathwell_test
