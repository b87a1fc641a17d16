// File 99 through the real Quadrel.dll with totals above 2^31 hundredths: the
// 32-bit build splits the gross into net and tax and writes all three whole.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "dll/quadrel_exports.h"
#include "dll/simulated_line.h"
#include "totals_layout.h"

namespace {

namespace fs = std::filesystem;

TEST(TotalsReportDll, NetAndTaxAbove2To31AreWrittenWhole) {
  ecrsim::Simulator sim;
  ASSERT_TRUE(sim.AddRegister(1, *ecrsim::BuiltInConfig("t72")));
  quadrel_test::LayOutTotals(*sim.Find(1), 'T', 5);
  SimulatedLine::simulator = &sim;
  SimulatedLine::hostInfo = HostInfoRecord{};
  SimulatedLine::hostInfo.protocolType = 3;  // one register on the line
  QuadrelExports quadrel;
  ASSERT_TRUE(quadrel.Load());
  ASSERT_EQ(SimulatedLine::Init(quadrel, QUADREL_SHIPPED_DEFINITIONS), 0);
  auto run = [&](const std::string& line) {
    char result[512] = {};
    return quadrel.EcrCmd(line.c_str(), result);
  };

  // 27 receipts of ten lines at the line limit: 26,999,997.30 at 22 %.
  ASSERT_EQ(run("CHIAVE R"), 0);
  for (int receipt = 0; receipt < 27; ++receipt) {
    for (int line = 0; line < 10; ++line) ASSERT_EQ(run("VENDITA REPARTO=1, PREZZO=99999.99"), 0);
    ASSERT_EQ(run("PAGA"), 0);
  }
  const fs::path path = fs::temp_directory_path() / "quadrel totals 99.txt";
  EXPECT_EQ(run("SCARICA ARCHIVIO=99, NOMEFILE='" + path.string() + "'"), 0);
  quadrel.TradClose();
  quadrel.Unload();
  SimulatedLine::simulator = nullptr;

  std::string vat1;
  {
    std::ifstream in(path, std::ios::binary);
    while (std::getline(in, vat1) && vat1.rfind("1001,", 0) != 0) continue;
  }
  fs::remove(path);
  // The model truncates: 2,699,999,730 / 1.22 = 2,213,114,532.8.
  EXPECT_EQ(vat1, "1001,2699999730,2213114532,0486885198\r");
}

}  // namespace
