// Registration of the server by its own switches, as installers run it.
#include <gtest/gtest.h>
#include <windows.h>
#include <oleauto.h>

#include "com/server_process.h"
#include "com/tallis_fixture.h"

namespace tallis_test {
namespace {

constexpr wchar_t kClassKey[] =
    L"Software\\Classes\\CLSID\\{3B9E4A13-5C7D-4E21-9A6F-2D81C0E7B540}";
constexpr wchar_t kProgIdKey[] = L"Software\\Classes\\Ravelin.TallisInterface";
const GUID kLibid = {0x3B9E4A10, 0x5C7D, 0x4E21, {0x9A, 0x6F, 0x2D, 0x81, 0xC0, 0xE7, 0xB5, 0x40}};

bool ReadValue(const std::wstring& key, const wchar_t* name, std::wstring& value) {
  wchar_t buffer[1024];
  DWORD size = sizeof buffer;
  if (RegGetValueW(HKEY_LOCAL_MACHINE, key.c_str(), name, RRF_RT_REG_SZ, nullptr, buffer, &size) !=
      ERROR_SUCCESS)
    return false;
  value = buffer;
  return true;
}

bool KeyExists(const std::wstring& key) {
  HKEY handle;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS)
    return false;
  RegCloseKey(handle);
  return true;
}

class Registration : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
  // Later suites find the server registered whatever happened here.
  static void TearDownTestSuite() { RunAndWait(ServerCommand(L"/RegServer")); }
};

TEST_F(Registration, LowerCaseDashSwitchRegistersAndExits) {
  ASSERT_EQ(RunAndWait(ServerCommand(L"-unregserver")), 0);
  ASSERT_EQ(RunAndWait(ServerCommand(L"-regserver"), 10000), 0);
  std::wstring value;
  ASSERT_TRUE(ReadValue(std::wstring(kClassKey) + L"\\LocalServer32", nullptr, value));
  EXPECT_EQ(value, L"\"" + ProgramBeside(kServerFile) + L"\" /Automation");
  ASSERT_TRUE(ReadValue(std::wstring(kClassKey) + L"\\LocalServer32", L"ThreadingModel", value));
  EXPECT_EQ(value, L"Apartment");
  ASSERT_TRUE(ReadValue(kClassKey, nullptr, value));
  EXPECT_EQ(value, L"Tallis Service Object Interface");
  ASSERT_TRUE(ReadValue(std::wstring(kClassKey) + L"\\ProgID", nullptr, value));
  EXPECT_EQ(value, L"Ravelin.TallisInterface");
  ASSERT_TRUE(ReadValue(std::wstring(kProgIdKey) + L"\\CLSID", nullptr, value));
  EXPECT_EQ(value, L"{3B9E4A13-5C7D-4E21-9A6F-2D81C0E7B540}");
}

TEST_F(Registration, TypeLibraryIsRegisteredWithTheDispinterfaceAndItsThirteenMethods) {
  ASSERT_EQ(RunAndWait(ServerCommand(L"/REGSERVER")), 0);
  ITypeLib* library = nullptr;
  ASSERT_EQ(LoadRegTypeLib(kLibid, 1, 0, LOCALE_NEUTRAL, &library), S_OK);
  BSTR name = nullptr;
  BSTR doc = nullptr;
  ASSERT_EQ(library->GetDocumentation(-1, &name, &doc, nullptr, nullptr), S_OK);
  EXPECT_STREQ(doc, L"Ravelin Library");
  SysFreeString(name);
  SysFreeString(doc);
  const GUID diid = {0x3B9E4A11, 0x5C7D, 0x4E21, {0x9A, 0x6F, 0x2D, 0x81, 0xC0, 0xE7, 0xB5, 0x40}};
  ITypeInfo* info = nullptr;
  ASSERT_EQ(library->GetTypeInfoOfGuid(diid, &info), S_OK);
  TYPEATTR* attributes = nullptr;
  ASSERT_EQ(info->GetTypeAttr(&attributes), S_OK);
  EXPECT_EQ(attributes->typekind, TKIND_DISPATCH);
  EXPECT_EQ(attributes->cFuncs, 13);
  info->ReleaseTypeAttr(attributes);
  // DirectIO's text and data come back to the caller: both by reference.
  FUNCDESC* function = nullptr;
  MEMBERID id = 0;
  LPOLESTR directIO = const_cast<LPOLESTR>(L"DirectIO");
  ASSERT_EQ(info->GetIDsOfNames(&directIO, 1, &id), S_OK);
  EXPECT_EQ(id, 8);
  for (UINT i = 0; i < 13; ++i) {
    ASSERT_EQ(info->GetFuncDesc(i, &function), S_OK);
    if (function->memid == 8) {
      ASSERT_EQ(function->cParams, 3);
      EXPECT_EQ(function->lprgelemdescParam[1].tdesc.vt, VT_PTR);
      EXPECT_EQ(function->lprgelemdescParam[2].tdesc.vt, VT_PTR);
    }
    info->ReleaseFuncDesc(function);
  }
  info->Release();
  library->Release();
}

TEST_F(Registration, UnregisterRemovesTheClassTheProgIdAndTheTypeLibrary) {
  ASSERT_EQ(RunAndWait(ServerCommand(L"/RegServer")), 0);
  ASSERT_EQ(RunAndWait(ServerCommand(L"/UnregServer")), 0);
  EXPECT_FALSE(KeyExists(kClassKey));
  EXPECT_FALSE(KeyExists(kProgIdKey));
  ITypeLib* library = nullptr;
  EXPECT_NE(LoadRegTypeLib(kLibid, 1, 0, LOCALE_NEUTRAL, &library), S_OK);
  if (library) library->Release();
  EXPECT_EQ(RunAndWait(ServerCommand(L"/UnregServer")), 0) << "unregistering twice is no failure";
}

}  // namespace
}  // namespace tallis_test
