// EcrCmd through the real Quadrel.dll export, with the scripted fake host
// standing where the service object and the protocol library stand.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "dll/quadrel_exports.h"
#include "dll/registry_fixture.h"
#include "fake_host.h"

using quadrel_test::status_idle;
namespace fs = std::filesystem;

namespace {

constexpr int kEchoLines = 0x80;

class EcrCmdDll : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(quadrel.Load());
    dir = fs::temp_directory_path() / "quadrel_ecrcmd_dll";
    fs::remove_all(dir);
    fs::create_directories(dir);
    const std::string ini = Write("tallis.ini", "[OPCOD]\r\n4=NULLA\r\n8=CANCELLA\r\n29=SLAVE\r\n"
                                                "[29]\r\n1=ON\r\n2=OFF\r\n");
    // TradInit reads register 1's configuration; this register stays silent,
    // which leaves the record unread but the library ready for command lines.
    host.expect("T").answer_nothing(2);
    ASSERT_EQ(quadrel.TradInit(ini.c_str(), kEchoLines, quadrel_test::FakeHost::progress(),
                               quadrel_test::FakeHost::io()),
              0);
  }
  void TearDown() override {
    if (quadrel.TradClose) quadrel.TradClose();
    quadrel.Unload();
    fs::remove_all(dir);
  }

  std::string Write(const std::string& name, const std::string& content) {
    std::ofstream(dir / name, std::ios::binary) << content;
    return (dir / name).string();
  }
  std::string Read(const std::string& name) const {
    std::ifstream in(dir / name, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }

  // The batch runner's slave-mode line: its status frame, the slave-mode
  // query, then 'H' 1 (on) or 'H' 0 (off).
  void ExpectSlaveMode(int on) {
    host.expect("S").answer(0, status_idle());
    host.expect(quadrel_test::bytes({'U', 0, 23})).answer(0, quadrel_test::bytes({'U'}));
    host.expect(quadrel_test::bytes({'H', on})).answer(0, quadrel_test::bytes({'H'}));
  }

  quadrel_test::FakeHost host;
  QuadrelExports quadrel;
  fs::path dir;
  char answer[1024] = {};
};

TEST_F(EcrCmdDll, ASingleLineReturnsItsCodeAndText) {
  host.expect("S").answer(0, status_idle());
  EXPECT_EQ(quadrel.EcrCmd("#4", answer), 0);
  EXPECT_STREQ(answer, "OK.");
  EXPECT_EQ(quadrel.EcrCmd("NOSUCHINSTRUCTION", answer), 257);
  EXPECT_STREQ(answer, "ERROR 1/1 : SINTAX ERROR 1 : INSTRUCTION NOT FOUND");
}

TEST_F(EcrCmdDll, ABatchOnRealFilesCollectsItsFailedLines) {
  const std::string batch = Write("batch.txt", "; sale\r\n#4\r\n#4\r\n#4");
  Write("result.txt", "an old result\r\n");
  ExpectSlaveMode(1);
  host.expect("S").answer(0, status_idle());
  host.expect("S").answer(1, {}, 3);
  host.expect("S").answer(0, status_idle());
  ExpectSlaveMode(0);
  const std::string line = "@" + batch + "," + (dir / "result.txt").string();
  EXPECT_EQ(quadrel.EcrCmd(line.c_str(), answer), 14);
  EXPECT_STREQ(answer, "ERROR 0/14 : ERRORS DURING EXECUTION OF FILE");
  EXPECT_EQ(Read("result.txt"), "ERROR 2/3 in line 3 : I/O ERROR 3\r\n");
  EXPECT_FALSE(fs::exists(dir / "result.txt.tmp"));
  // Echo on: every line before it runs, every executed line after.
  ASSERT_EQ(host.progress_calls().size(), 7u);
  EXPECT_EQ(host.progress_calls()[0].text, ">; sale");
  EXPECT_EQ(host.progress_calls()[4].text, "ERROR 2/3 in line 3 : I/O ERROR 3");
}

TEST_F(EcrCmdDll, AMissingBatchFileGives11) {
  const std::string line = "@" + (dir / "missing.txt").string();
  EXPECT_EQ(quadrel.EcrCmd(line.c_str(), answer), 11);
  EXPECT_STREQ(answer, "ERROR 0/11 : FILE OPEN ERROR");
}

// Critical states in a batch are retried after a pause, until they clear.
int ticks = 0;
void CALLBACK CountTick(HWND, UINT, UINT_PTR, DWORD) { ++ticks; }

class EcrCmdDllCoverRetry : public EcrCmdDll {
 protected:
  void SetUp() override {
    registry_fixture::SetMachineValue("RetryOn16XXX", "1");
    registry_fixture::SetMachineValue("CoverOpenPaperEmptyMode", "1");
    EcrCmdDll::SetUp();
  }
  void TearDown() override {
    EcrCmdDll::TearDown();
    registry_fixture::DeleteMachineValue("RetryOn16XXX");
    registry_fixture::DeleteMachineValue("CoverOpenPaperEmptyMode");
  }
};

TEST_F(EcrCmdDllCoverRetry, ThePauseBeforeARetryKeepsServingTheThreadsMessages) {
  const std::string batch = Write("batch.txt", "#4");
  ExpectSlaveMode(1);
  host.expect("S").answer(32, quadrel_test::bytes({'S'}));
  quadrel_test::Bytes state(25, 0);
  state[0] = 'C';
  state[1] = 0x04;  // critical, code 7
  state[2] = 7;
  host.expect(quadrel_test::bytes({'C', 11})).answer(0, state);
  for (int clear = 0; clear < 2; ++clear) {
    host.expect("S").answer(0, status_idle());
    host.expect(quadrel_test::bytes({'A', 0})).answer(0, status_idle());
  }
  host.expect("S").answer(0, status_idle());  // the retry passes
  ExpectSlaveMode(0);
  ticks = 0;
  const UINT_PTR timer = SetTimer(nullptr, 0, 100, &CountTick);
  const std::string line = "@" + batch + "," + (dir / "result.txt").string();
  EXPECT_EQ(quadrel.EcrCmd(line.c_str(), answer), 0);
  const int ticksDuringTheCommand = ticks;
  KillTimer(nullptr, timer);
  EXPECT_GT(ticksDuringTheCommand, 20) << "a timer of 100 ms during a pause of 5 s";
}

}  // namespace
