// The options command, the clear key and a network connection through the
// real Quadrel.dll export EcrCmd, with the scripted fake host.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include "dll/quadrel_exports.h"
#include "fake_host.h"

using quadrel_test::bytes;
using quadrel_test::status_idle;
namespace fs = std::filesystem;

namespace {

constexpr char kDefinitions[] =
    "[OPCOD]\r\n5=SELEZIONA\r\n8=CANCELLA\r\n48=IMPOSTA\r\n"
    "[5]\r\n1=CASSA\r\n2=SCOLLEGA\r\n3=CACHE\r\n4=TIMEOUT\r\n"
    "[48]\r\n1=CARTELLA\r\n2=FORMATO\r\n3=CATTURA\r\n4=CONFERMA\r\n5=ATTESA\r\n6=VELOCE\r\n7=STOPERR\r\n";

// Answers the network connect request as a protocol library would: it shows
// its progress through the function the translator handed over in the int
// argument, then reports a time-out. Everything else goes to the fake host.
struct NetworkHost {
  static inline int connects = 0;
  static inline std::int32_t timeOut = 0;

  static int __stdcall IO(int request, int mode, void* a, void* b, void* c, void* d, void* e) {
    if (request != -106) return quadrel_test::FakeHost::io()(request, mode, a, b, c, d, e);
    ++connects;
    timeOut = *static_cast<std::int32_t*>(d);
    using Progress = void(__stdcall*)(int, int, int*);
    int abort = 0;
    reinterpret_cast<Progress>(static_cast<std::intptr_t>(mode))(1, 50, &abort);
    *static_cast<std::int32_t*>(e) = -2;
    return 1;
  }
};

class SessionCommandsDll : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(quadrel.Load());
    dir = fs::temp_directory_path() / "quadrel_session_dll";
    fs::create_directories(dir);
    ini = (dir / "tallis.ini").string();
    std::ofstream(ini, std::ios::binary) << kDefinitions;
  }
  void TearDown() override {
    if (quadrel.TradClose) quadrel.TradClose();
    quadrel.Unload();
    fs::remove_all(dir);
  }
  void Init(TradEcrIOProc io) {
    // Off a network port TradInit reads register 1's configuration; this
    // register stays silent, which leaves the library ready for command lines.
    if (host.info().protocolType != quadrel_test::kProtocolRemote) host.expect("T").answer_nothing(2);
    ASSERT_EQ(quadrel.TradInit(ini.c_str(), 0, quadrel_test::FakeHost::progress(), io), 0);
  }

  quadrel_test::FakeHost host;
  QuadrelExports quadrel;
  fs::path dir;
  std::string ini;
  char answer[1024] = {};
};

TEST_F(SessionCommandsDll, OptionsCommandSetsOrRefusesWithoutTheRegister) {
  Init(quadrel_test::FakeHost::io());
  EXPECT_EQ(quadrel.EcrCmd("IMPOSTA FORMATO=2, CONFERMA", answer), 0);
  EXPECT_STREQ(answer, "OK.");
  EXPECT_EQ(quadrel.GetOutEditOptions(), 2);
  EXPECT_EQ(quadrel.EcrCmd("IMPOSTA FORMATO=7, ATTESA=1", answer), 23);
  EXPECT_STREQ(answer, "ERROR 0/23 : SET PROPERTY ERROR");
  EXPECT_EQ(quadrel.GetOutEditOptions(), 2);
  EXPECT_EQ(host.frames().size(), 1u);  // the read of TradInit only
}

TEST_F(SessionCommandsDll, ClearKeyIsSentAfterTheStatusFrame) {
  Init(quadrel_test::FakeHost::io());
  host.expect("S").answer(0, status_idle());
  host.expect(bytes({'A', 0})).answer(0, status_idle());
  EXPECT_EQ(quadrel.EcrCmd("CANCELLA", answer), 0);
  EXPECT_STREQ(answer, "OK.");
}

TEST_F(SessionCommandsDll, TheConnectRequestCarriesACallableProgressFunction) {
  host.info().protocolType = quadrel_test::kProtocolRemote;
  Init(&NetworkHost::IO);
  EXPECT_EQ(quadrel.EcrCmd("SELEZIONA CASSA='10.1.1.1', TIMEOUT=500", answer), 28);
  EXPECT_STREQ(answer, "ERROR 0/28 : CONNECTION TIME-OUT");
  EXPECT_EQ(NetworkHost::connects, 1);
  EXPECT_EQ(NetworkHost::timeOut, 180);
  ASSERT_EQ(host.progress_calls().size(), 1u);
  EXPECT_EQ(host.progress_calls()[0].text, "CALL IN PROGRESS");
  EXPECT_EQ(host.progress_calls()[0].percent, 50);
}

}  // namespace
