// File 99 end to end: sales over two departments at two VAT rates, then the
// report carries exactly their totals as the simulated register keeps them.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <string>

#include "sim_command_fixture.h"
#include "state/ecr_config.h"
#include "totals_register.h"

namespace quadrel {
namespace {

class TotalsReportSim : public SimCommandTest {};

TEST_F(TotalsReportSim, SalesReachTheVatDepartmentAndDailyLines) {
  quadrel_test::LayOutTwoDepartmentTotals(Reg());
  InvalidateAllEcrRecords();  // the translator reads the new layout
  for (const char* line : quadrel_test::kTwoDepartmentSales) ASSERT_EQ(Run(line), 0) << line;

  const std::string path = (std::filesystem::temp_directory_path() / ("quadrel-99-" + std::to_string(::getpid()))).string();
  ASSERT_EQ(Run("SCARICA ARCHIVIO=99, NOMEFILE='" + path + "'"), 0);
  std::map<int, std::string> lines;
  std::ifstream in(path, std::ios::binary);
  for (std::string line; std::getline(in, line);) lines[std::stoi(line)] = line.substr(0, line.size() - 1);
  std::filesystem::remove(path);
  // The model truncates: 14.20 at 22 % has the net 11.63 (1163.9), 5.50 at 10 % the net 5.00.
  EXPECT_EQ(lines[1000], "1000,00000000,00000000,00000000");
  EXPECT_EQ(lines[1001], "1001,00001420,00001163,00000257");
  EXPECT_EQ(lines[1002], "1002,00000550,00000500,00000050");
  EXPECT_EQ(lines[2001], "2001,00001420,00002000,'      '");
  EXPECT_EQ(lines[2002], "2002,00000550,00001000,'      '");
  EXPECT_EQ(lines[3001], "3001,00001970,0003,''");
}

}  // namespace
}  // namespace quadrel
