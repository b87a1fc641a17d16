// The product server's start-up as COM and installers see it: registration
// from a folder with a blank in its name, activation by a client, the running
// process, its end after the last release, and unregistration.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "com/server_process.h"
#include "com/tallis_client.h"

namespace tallis_test {
namespace {

constexpr wchar_t kLocalServerKey[] =
    L"Software\\Classes\\CLSID\\{3B9E4A13-5C7D-4E21-9A6F-2D81C0E7B540}\\LocalServer32";

std::wstring CopiedServer() { return ProgramBeside(RAVELIN_COPY_FOLDER L"\\Ravelin.exe"); }
std::wstring Quoted(const std::wstring& path) { return L"\"" + path + L"\""; }

std::wstring LocalServerLine() {
  wchar_t buffer[1024] = {};
  DWORD size = sizeof buffer;
  RegGetValueW(HKEY_LOCAL_MACHINE, kLocalServerKey, nullptr, RRF_RT_REG_SZ, nullptr, buffer, &size);
  return buffer;
}

bool WaitUntilGone(const wchar_t* fileName) {
  const DWORD start = GetTickCount();
  while (ProcessRunning(fileName) && GetTickCount() - start < 15000) Sleep(100);
  return !ProcessRunning(fileName);
}

// The process behind the application window titled "Ravelin".
DWORD ApplicationProcess() {
  HWND application = FindWindowW(L"RavelinApplication", L"Ravelin");
  DWORD id = 0;
  if (application) GetWindowThreadProcessId(application, &id);
  return id;
}

class Startup : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
  // Later suites find the build's own server registered.
  static void TearDownTestSuite() { RunAndWait(Quoted(ProgramBeside(L"Ravelin.exe")) + L" /RegServer"); }
};

TEST_F(Startup, ServerInAFolderWithABlankRegistersServesAClientAndUnregisters) {
  ASSERT_EQ(RunAndWait(Quoted(CopiedServer()) + L" /RegServer"), 0);
  EXPECT_EQ(LocalServerLine(), Quoted(CopiedServer()) + L" /Automation");
  {
    TTallisClient client;
    ASSERT_EQ(client.Create(), S_OK);
    std::wstring answer;
    EXPECT_NE(client.EcrCmd(L"#4", answer), -12345) << "the call reached the server";
  }
  EXPECT_TRUE(WaitUntilGone(L"Ravelin.exe")) << "the server outlived its last object";

  ASSERT_EQ(RunAndWait(Quoted(CopiedServer()) + L" -unregserver"), 0);
  EXPECT_EQ(LocalServerLine(), L"");
  TTallisClient client;
  EXPECT_EQ(client.Create(), CO_E_CLASSSTRING) << "activation by the ProgID after unregistration";
  EXPECT_FALSE(ProcessRunning(L"Ravelin.exe"));
}

TEST_F(Startup, ServerStartedByComRunsAtHighPriorityWithItsWindowsHidden) {
  ASSERT_EQ(RunAndWait(Quoted(ProgramBeside(L"Ravelin.exe")) + L" /RegServer"), 0);
  TTallisClient client;
  ASSERT_EQ(client.Create(), S_OK);
  const DWORD id = ApplicationProcess();
  ASSERT_NE(id, 0u) << "no window titled Ravelin";
  HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, id);
  ASSERT_NE(process, nullptr);
  EXPECT_EQ(GetPriorityClass(process), static_cast<DWORD>(HIGH_PRIORITY_CLASS));
  CloseHandle(process);
  HWND form = FindWindowW(L"RavelinDriverWindow", nullptr);
  ASSERT_NE(form, nullptr);
  EXPECT_FALSE(IsWindowVisible(form));
  client.Reset();
  EXPECT_TRUE(WaitUntilGone(L"Ravelin.exe"));
}

}  // namespace
}  // namespace tallis_test
