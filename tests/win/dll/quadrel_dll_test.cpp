// Quadrel.dll as a host sees it: loaded by name, exports bound by name,
// initialised with a host that answers the host-info request.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "dll/quadrel_exports.h"
#include "dll/registry_fixture.h"
#include "interfaces/host_info.h"

namespace {

const std::string kMinimalIni = std::string(QUADREL_WIN_TEST_DATA) + "minimal.ini";

std::vector<std::string> traceLines;
HostInfoRecord hostInfo;
int hostInfoRequests = 0;

int __stdcall RecordTrace(int, int, int, const char* text, int, int, int, const char*) {
  traceLines.emplace_back(text);
  return 0;
}

int __stdcall TestHost(int request, int, void*, void*, void*, void*, void* out) {
  if (request != ECRIO_GET_INFO) return 1;
  ++hostInfoRequests;
  *static_cast<HostInfoRecord**>(out) = &hostInfo;
  return 0;
}

void __stdcall IgnoreProgress(int, int, int, const char*, int*) {}

class QuadrelDll : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(quadrel.Load());
    hostInfo = HostInfoRecord{};
    hostInfo.protocolType = 2;  // remote: no register is read at TradInit
    hostInfo.versionMajor = 1;
    hostInfo.versionMinor = 2;
    hostInfo.versionBuild = 3;
    hostInfo.trace = RecordTrace;
    traceLines.clear();
    hostInfoRequests = 0;
  }
  void TearDown() override {
    registry_fixture::DeleteMachineValue("InstallationDir");
    for (const char* name : {"RetryOn16XXX", "CoverOpenPaperEmptyMode", "AlwayMaxSpeedFP"}) {
      registry_fixture::DeleteMachineValue(name);
    }
    if (quadrel.TradClose) quadrel.TradClose();
  }
  bool Traced(const std::string& line) const {
    for (const std::string& traced : traceLines) {
      if (traced == line) return true;
    }
    return false;
  }
  QuadrelExports quadrel;
};

TEST_F(QuadrelDll, LifecycleInitialisesWithAHostAndReportsItsVersion) {
  EXPECT_EQ(quadrel.TradInit(kMinimalIni.c_str(), 0, IgnoreProgress, TestHost), 0);
  EXPECT_EQ(hostInfoRequests, 1);
  EXPECT_EQ(hostInfo.progress, IgnoreProgress);  // the library writes its progress callback there
  EXPECT_TRUE(Traced("version Quadrel.dll 3000003"));
  EXPECT_TRUE(Traced("Version protocol type=2 version of dll 1002003"));
  EXPECT_TRUE(Traced("AlwayMaxSpeedFP = 1"));
  EXPECT_TRUE(Traced("CoverOpenPaperEmptyMode = 2"));
  EXPECT_EQ(quadrel.TradClose(), 0);
}

TEST_F(QuadrelDll, LifecycleRefusesANullHostAndAMissingDefinitionsFile) {
  EXPECT_EQ(quadrel.TradInit(kMinimalIni.c_str(), 0, IgnoreProgress, nullptr), 4);
  EXPECT_EQ(quadrel.TradInit("Z:/no/such/folder/TALLIS.INI", 0, IgnoreProgress, TestHost), 2);
  EXPECT_EQ(hostInfoRequests, 0);
}

TEST_F(QuadrelDll, LifecycleOptionsSurviveCloseAndInit) {
  EXPECT_EQ(quadrel.GetQuoteChar(), '\'');
  EXPECT_EQ(quadrel.GetSeparatorChar(), ',');
  EXPECT_EQ(quadrel.SetQuoteChar('"'), '"');
  EXPECT_EQ(quadrel.SetSeparatorChar(';'), ';');
  EXPECT_EQ(quadrel.SetOutEditOptions(2), 2);
  EXPECT_EQ(quadrel.SetEnableTradDC(3), 3);
  ASSERT_EQ(quadrel.TradInit(kMinimalIni.c_str(), 0, IgnoreProgress, TestHost), 0);
  quadrel.TradClose();
  ASSERT_EQ(quadrel.TradInit(kMinimalIni.c_str(), 0, IgnoreProgress, TestHost), 0);
  EXPECT_EQ(quadrel.GetQuoteChar(), '"');
  EXPECT_EQ(quadrel.GetSeparatorChar(), ';');
  EXPECT_EQ(quadrel.GetOutEditOptions(), 2);
  EXPECT_EQ(quadrel.GetEnableTradDC(), 3);
  // A character above 127 comes back sign-extended.
  EXPECT_EQ(quadrel.SetQuoteChar(static_cast<char>(0xE8)), -24);
  quadrel.SetQuoteChar('\'');
  quadrel.SetSeparatorChar(',');
  quadrel.SetOutEditOptions(0);
  quadrel.SetEnableTradDC(0);
}

TEST_F(QuadrelDll, SwitchesComeFromTheRegistry) {
  registry_fixture::SetMachineValue("RetryOn16XXX", "yEs");
  registry_fixture::SetMachineValue("CoverOpenPaperEmptyMode", "4");
  registry_fixture::SetMachineValue("AlwayMaxSpeedFP", "false");
  ASSERT_EQ(quadrel.TradInit(kMinimalIni.c_str(), 0, IgnoreProgress, TestHost), 0);
  EXPECT_TRUE(Traced("RetryOn16XXX = 1"));
  EXPECT_TRUE(Traced("CoverOpenPaperEmptyMode = 2"));
  EXPECT_TRUE(Traced("AlwayMaxSpeedFP = 1"));

  registry_fixture::SetMachineValue("CoverOpenPaperEmptyMode", "3");
  registry_fixture::SetMachineValue("AlwayMaxSpeedFP", "no");
  registry_fixture::DeleteMachineValue("RetryOn16XXX");
  traceLines.clear();
  ASSERT_EQ(quadrel.TradInit(kMinimalIni.c_str(), 0, IgnoreProgress, TestHost), 0);
  EXPECT_TRUE(Traced("CoverOpenPaperEmptyMode = 3"));
  EXPECT_TRUE(Traced("AlwayMaxSpeedFP = 0"));
  EXPECT_TRUE(Traced("RetryOn16XXX = 0"));  // a removed value takes effect at the next TradInit
}

TEST_F(QuadrelDll, InstallationDirOverridesThePathArgument) {
  registry_fixture::SetMachineValue("InstallationDir", QUADREL_INSTALL_DIR);
  // The argument names no file at all: only the installed Drivers\TALLIS.INI can load.
  EXPECT_EQ(quadrel.TradInit("Z:/no/such/file.ini", 0, IgnoreProgress, TestHost), 0);
  registry_fixture::SetMachineValue("InstallationDir", "Z:/no/such/installation/");
  EXPECT_EQ(quadrel.TradInit(kMinimalIni.c_str(), 0, IgnoreProgress, TestHost), 2);
}

TEST_F(QuadrelDll, BarcodeLibraryIsBoundWhenBeside) {
  if (std::getenv("QUADREL_EXPECT_NO_ZINT")) GTEST_SKIP() << "run without zint.dll";
  EXPECT_NE(GetModuleHandleA("zint.dll"), nullptr);
}

TEST_F(QuadrelDll, WithoutBarcodeLibraryTheTranslatorStillWorks) {
  if (!std::getenv("QUADREL_EXPECT_NO_ZINT")) GTEST_SKIP() << "run with zint.dll";
  EXPECT_EQ(GetModuleHandleA("zint.dll"), nullptr);
  EXPECT_EQ(quadrel.TradInit(kMinimalIni.c_str(), 0, IgnoreProgress, TestHost), 0);
}

}  // namespace
