// A QR code through the real Quadrel.dll and zint.dll, printed by a simulated
// register served from this process. The printed picture goes to a file that
// a barcode reader checks (ctest's quadrel_dll_qr_decoded).
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "dll/quadrel_exports.h"
#include "interfaces/host_info.h"
#include "simulator.h"

namespace {

ecrsim::Simulator* simulator = nullptr;
HostInfoRecord hostInfo;

int __stdcall SimulatedRegister(int ecrOrRequest, int, void* frame, void* length, void* answer,
                                void* answerLength, void* detail) {
  if (ecrOrRequest == ECRIO_GET_INFO) {
    *static_cast<HostInfoRecord**>(detail) = &hostInfo;
    return 0;
  }
  if (ecrOrRequest < 0) return 0;
  const ecrsim::Reply reply = simulator->Exchange(
      ecrOrRequest, {static_cast<const std::uint8_t*>(frame), static_cast<std::size_t>(IntFromArgument(length))});
  if (!reply.answered) return 4;
  std::copy(reply.answer.begin(), reply.answer.end(), static_cast<std::uint8_t*>(answer));
  *static_cast<std::int32_t*>(answerLength) = static_cast<std::int32_t>(reply.answer.size());
  *static_cast<std::int32_t*>(detail) = reply.detail;
  return reply.hostResult;
}

void __stdcall IgnoreProgress(int, int, int, const char*, int*) {}

class ZintBarcodeDll : public ::testing::Test {
 protected:
  void SetUp() override {
    simulator = &sim;
    ASSERT_TRUE(sim.AddRegister(1, *ecrsim::BuiltInConfig("t72")));
    hostInfo = HostInfoRecord{};
    hostInfo.protocolType = 3;
    ASSERT_TRUE(quadrel.Load());
    ini = (std::filesystem::temp_directory_path() / "zint_dll.ini").string();
    std::ofstream(ini, std::ios::binary) << "[OPCOD]\r\n22=STAMPA\r\n[22]\r\n3=TESTO\r\n8=CODBARRE\r\n";
    ASSERT_EQ(quadrel.TradInit(ini.c_str(), 0, IgnoreProgress, SimulatedRegister), 0);
  }
  void TearDown() override {
    if (quadrel.TradClose) quadrel.TradClose();
    quadrel.Unload();
    simulator = nullptr;
    std::filesystem::remove(ini);
  }

  ecrsim::Simulator sim;
  QuadrelExports quadrel;
  std::string ini;
  char answer[1024] = {};
};

TEST_F(ZintBarcodeDll, AQrCodePrintsThroughZintDll) {
  if (std::getenv("QUADREL_EXPECT_NO_ZINT")) GTEST_SKIP() << "run without zint.dll";
  std::filesystem::remove(QUADREL_QR_IMAGE);  // no picture left from an earlier run
  ASSERT_EQ(quadrel.EcrCmd("STAMPA TESTO='QUADREL QR 32', CODBARRE=158", answer), 0) << answer;
  std::ofstream(QUADREL_QR_IMAGE, std::ios::binary) << sim.Find(1)->printer.Pbm();
}

TEST_F(ZintBarcodeDll, WithoutBarcodeLibraryAQrCodeIsRefused) {
  if (!std::getenv("QUADREL_EXPECT_NO_ZINT")) GTEST_SKIP() << "run with zint.dll";
  EXPECT_EQ(quadrel.EcrCmd("STAMPA TESTO='QUADREL QR 32', CODBARRE=158", answer), 282);
  EXPECT_TRUE(sim.Find(1)->printer.DotRows().empty());
}

}  // namespace
