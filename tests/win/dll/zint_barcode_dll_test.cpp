// A QR code through the real Quadrel.dll and zint.dll, printed by a simulated
// register served from this process. The printed picture goes to a file that
// a barcode reader checks (ctest's quadrel_dll_qr_decoded).
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "dll/quadrel_exports.h"
#include "dll/simulated_line.h"

namespace {

void __stdcall IgnoreProgress(int, int, int, const char*, int*) {}

class ZintBarcodeDll : public ::testing::Test {
 protected:
  void SetUp() override {
    SimulatedLine::simulator = &sim;
    ASSERT_TRUE(sim.AddRegister(1, *ecrsim::BuiltInConfig("t72")));
    SimulatedLine::hostInfo = HostInfoRecord{};
    SimulatedLine::hostInfo.protocolType = 3;
    ASSERT_TRUE(quadrel.Load());
    std::ofstream(ini, std::ios::binary) << "[OPCOD]\r\n22=STAMPA\r\n[22]\r\n3=TESTO\r\n8=CODBARRE\r\n";
    ASSERT_EQ(quadrel.TradInit(ini.c_str(), 0, IgnoreProgress, SimulatedLine::IO), 0);
  }
  void TearDown() override {
    if (quadrel.TradClose) quadrel.TradClose();
    quadrel.Unload();
    SimulatedLine::simulator = nullptr;
  }

  ecrsim::Simulator sim;
  QuadrelExports quadrel;
  const std::string ini = (std::filesystem::temp_directory_path() / "zint_dll.ini").string();
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
