// Lathwell installing a port's spooler service with the prefix's real service
// manager: our instsrv and srvany in an installation folder with a blank in
// its path, Ravelin started by the service, a command file run against the
// simulator. Planted programs show that nothing runs from the wrong place.
#include <gtest/gtest.h>
#include <windows.h>
// After windows.h, whose types it uses.
#include <tlhelp32.h>

#include <fstream>
#include <initializer_list>
#include <map>
#include <vector>

#include "dialog/port_form_ids.h"
#include "lathwell_window.h"
#include "protocol/protocol_test_support.h"

namespace lathwell_test {
namespace {

constexpr int kPort = 12;
const std::string kService = "Velmora ECR Spooler Port12";
const std::string kFormerService = "Velmora Spooler Port12";
const std::string kInstall = "C:\\Program Files\\Velmora\\";
const std::string kSpoolFolder = kInstall + "Spooler\\12\\";
const std::string kScratch = "C:\\lathwell-scratch\\";
const std::string kDriverKey = "Software\\Velmora\\Drivers\\Corvane\\FirmwareA";
// The service's work (stop, delete, start, Ravelin's start-up) under Wine.
constexpr DWORD kServiceWaitMs = 30000;
constexpr DWORD kStoreWaitMs = 90000;

template <typename Condition>
bool WaitFor(Condition condition, DWORD waitMs = kServiceWaitMs) {
  for (const DWORD start = GetTickCount(); GetTickCount() - start < waitMs; Sleep(100)) {
    if (condition()) return true;
  }
  return condition();
}

std::string TestFolder() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  const std::string file = path;
  return file.substr(0, file.rfind('\\') + 1);
}

// Where a careless start would find a program: beside the blank of the
// installation folder's path, in Lathwell's folder and in its current folder.
std::vector<std::string> PlantedPrograms() {
  return {"C:\\Program.exe", kInstall + "sc.exe", kScratch + "sc.exe"};
}

bool Exists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// What `sc query` says of the service ("" when it does not know it).
std::string ScQuery(const std::string& service) {
  return CommandOutput("sc query \"" + service + "\"").value_or("");
}

// Ravelin processes that a srvany service started.
int ServiceRavelins() {
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return -1;
  std::map<DWORD, std::string> names;
  std::vector<std::pair<DWORD, DWORD>> ravelins;  // process, parent
  PROCESSENTRY32 entry = {};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry)) {
    names[entry.th32ProcessID] = entry.szExeFile;
    if (_stricmp(entry.szExeFile, "Ravelin.exe") == 0)
      ravelins.emplace_back(entry.th32ProcessID, entry.th32ParentProcessID);
  }
  CloseHandle(snapshot);
  int count = 0;
  for (const auto& [process, parent] : ravelins) count += _stricmp(names[parent].c_str(), "srvany.exe") == 0;
  return count;
}

// A service under the name older installations used, as they left it.
bool CreateFormerService() {
  SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
  if (manager == nullptr) return false;
  const std::string program = "\"" + kInstall + "Utilities\\srvany.exe\"";
  SC_HANDLE service =
      CreateServiceA(manager, kFormerService.c_str(), kFormerService.c_str(), SERVICE_ALL_ACCESS,
                     SERVICE_WIN32_OWN_PROCESS, SERVICE_DEMAND_START, SERVICE_ERROR_NORMAL, program.c_str(),
                     nullptr, nullptr, nullptr, nullptr, nullptr);
  if (service != nullptr) CloseServiceHandle(service);
  CloseServiceHandle(manager);
  return service != nullptr;
}

// Stops and deletes a service through the service manager and waits until it is gone.
void DeleteService(const std::string& name) {
  SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
  if (manager == nullptr) return;
  if (SC_HANDLE service = OpenServiceA(manager, name.c_str(), SERVICE_STOP | DELETE)) {
    SERVICE_STATUS status = {};
    ControlService(service, SERVICE_CONTROL_STOP, &status);
    ::DeleteService(service);
    CloseServiceHandle(service);
  }
  WaitFor([&] {
    SC_HANDLE service = OpenServiceA(manager, name.c_str(), SERVICE_QUERY_STATUS);
    if (service != nullptr) CloseServiceHandle(service);
    return service == nullptr;
  });
  CloseServiceHandle(manager);
}

void Copy(const std::string& from, const std::string& to) {
  ASSERT_TRUE(CopyFileA(from.c_str(), to.c_str(), FALSE)) << from << " -> " << to;
}

class SpoolerServiceTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    const std::string bin = TestFolder();
    for (const std::string& folder : {kInstall, kInstall + "Drivers\\", kInstall + "Utilities\\",
                                      kInstall + "Spooler\\", kSpoolFolder, kScratch}) {
      CreateDirectoryA(folder.c_str(), nullptr);
    }
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((bin + "*.dll").c_str(), &found);
    for (BOOL more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileA(search, &found)) {
      Copy(bin + found.cFileName, kInstall + "Drivers\\" + found.cFileName);
    }
    if (search != INVALID_HANDLE_VALUE) FindClose(search);
    Copy(bin + "Ravelin.exe", kInstall + "Drivers\\Ravelin.exe");
    for (const char* definitions : {"TALLIS.INI", "TALLISRT.INI"}) {
      Copy(std::string(DRIVERS_DIR) + "\\" + definitions, kInstall + "Drivers\\" + definitions);
    }
    Copy(bin + "Lathwell.exe", kInstall + "Lathwell.exe");
    Copy(bin + "instsrv.exe", kInstall + "Utilities\\instsrv.exe");
    Copy(bin + "srvany.exe", kInstall + "Utilities\\srvany.exe");
    for (const std::string& planted : PlantedPrograms()) {
      Copy(bin + "planted_program.exe", planted);
      DeleteFileA((planted + ".ran").c_str());
    }
  }
  static void TearDownTestSuite() {
    for (const std::string& planted : PlantedPrograms()) {
      DeleteFileA(planted.c_str());
    }
  }

  void SetUp() override { DeleteOurServices(); }
  void TearDown() override {
    DeleteOurServices();
    for (const std::string& planted : PlantedPrograms()) {
      EXPECT_FALSE(Exists(planted + ".ran")) << planted << " ran";
    }
  }
  // Auto-start services come back with every fresh wineserver: none of ours may outlive a test.
  static void DeleteOurServices() {
    DeleteService(kService);
    DeleteService(kFormerService);
  }

  // Lathwell from the installation folder, started in a scratch folder.
  LathwellWindow StartLathwell() { return LathwellWindow(kInstall + "Lathwell.exe", kScratch); }

  // Modify, the per-port box as given, OK; false when the store did not end in time.
  static bool Store(LathwellWindow& lathwell, bool onPort) {
    lathwell.TypePort(std::to_string(kPort));
    if (!lathwell.Click(IDC_MODIFY)) return false;
    lathwell.SetCheck(IDC_AUTO_RUN_ON_PORT, onPort);
    return lathwell.Click(IDC_OK_EDIT, kStoreWaitMs);
  }

  static bool ServiceGone() { return ScQuery(kService).empty() && ServiceRavelins() == 0; }

  protocol_test::PortKey port_{kPort, protocol_test::EthernetPortValues(protocol_test::FixturePorts().wire)};
  SettingValue installationDir_{HKEY_LOCAL_MACHINE, kDriverKey, "InstallationDir", kInstall};
  SettingValue spooler_{HKEY_LOCAL_MACHINE, kDriverKey, "EnableSpoolerAutoRun", "1"};
};

TEST_F(SpoolerServiceTest, StoringWithBothBoxesRunsTheSpoolerUntilTheBoxIsCleared) {
  ASSERT_TRUE(CreateFormerService());
  LathwellWindow lathwell = StartLathwell();
  ASSERT_NE(lathwell.Form(), nullptr);
  ASSERT_TRUE(Store(lathwell, true)) << lathwell.MessageText();
  EXPECT_NE(ScQuery(kService).find("RUNNING"), std::string::npos) << ScQuery(kService);
  EXPECT_EQ(ScQuery(kFormerService), "");
  EXPECT_EQ(RegQuery(port_.path(), "AutoRun CommandFile"), kSpoolFolder + "sco*.dat");

  protocol_test::SimControl sim(protocol_test::FixturePorts().control);
  sim.Run("log 1 clear");
  {
    std::ofstream part(kSpoolFolder + "sco0001.part", std::ios::binary);
    part << "NULLA\r\nCANCELLA\r\n";
  }
  ASSERT_TRUE(MoveFileA((kSpoolFolder + "sco0001.part").c_str(), (kSpoolFolder + "sco0001.dat").c_str()));
  EXPECT_TRUE(
      WaitFor([] { return !Exists(kSpoolFolder + "sco0001.dat") && Exists(kSpoolFolder + "sco0001.err"); }));
  EXPECT_NE(sim.Run("log 1").find("->"), std::string::npos);
  DeleteFileA((kSpoolFolder + "sco0001.err").c_str());

  ASSERT_TRUE(Store(lathwell, true)) << lathwell.MessageText();
  EXPECT_NE(ScQuery(kService).find("RUNNING"), std::string::npos);
  EXPECT_TRUE(WaitFor([] { return ServiceRavelins() == 1; }));

  ASSERT_TRUE(Store(lathwell, false)) << lathwell.MessageText();
  EXPECT_TRUE(WaitFor(ServiceGone)) << ScQuery(kService);
}

TEST_F(SpoolerServiceTest, RemovingThePortStopsItsService) {
  LathwellWindow lathwell = StartLathwell();
  ASSERT_NE(lathwell.Form(), nullptr);
  ASSERT_TRUE(Store(lathwell, true)) << lathwell.MessageText();
  ASSERT_TRUE(WaitFor([] { return ServiceRavelins() == 1; }));
  EXPECT_EQ(lathwell.ClickForMessage(IDC_REMOVE), "Sei sicuro di voler rimuovere la porta logica 12 ?");
  EXPECT_TRUE(lathwell.Answer(IDYES));
  EXPECT_TRUE(WaitFor(ServiceGone)) << ScQuery(kService);
  EXPECT_FALSE(RegKeyExists(port_.path()));
}

}  // namespace
}  // namespace lathwell_test
