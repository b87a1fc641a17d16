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

namespace quadrel {
namespace {

class TotalsReportSim : public SimCommandTest {};

TEST_F(TotalsReportSim, SalesReachTheVatDepartmentAndDailyLines) {
  using ecrsim::Area;
  ecrsim::RegisterConfig& c = Reg().EditConfig();
  c.SetNumber(Area::Identity, 47, 1, 2);  // two departments of 24 bytes: totals from 6 + 1 + 3 + 2
  c.SetNumber(Area::Block1, 1, 2, 0xE200), c.SetNumber(Area::Block1, 3, 2, 24);
  c.SetNumber(Area::Block4, 35, 1, 4), c.SetNumber(Area::Block4, 36, 1, 2);
  c.SetNumber(Area::Block4, 38, 1, 6), c.SetNumber(Area::Block4, 40, 1, 3), c.SetNumber(Area::Block4, 57, 1, 1);
  c.SetNumber(Area::Block4, 43, 1, 2);  // VAT records 0-2 of 8 bytes
  c.SetNumber(Area::Block1, 9, 2, 0xE400), c.SetNumber(Area::Block1, 11, 2, 8);
  c.SetNumber(Area::Block1, 17, 2, 0xE600), c.SetNumber(Area::Block1, 19, 2, 1);  // file 20: one record
  c.SetNumber(Area::Block3, 61, 2, 0), c.SetFeatureLevel(57, 0);  // no 24-entry table, no table 15
  Reg().placedMemory.Place(0xE200 + 8, {1});  // department 1 at rate 1 (22 %), department 2 at rate 2 (10 %)
  Reg().placedMemory.Place(0xE200 + 24 + 8, {2});
  Reg().placedMemory.Place(0xE408, {0x22, 0x00});
  Reg().placedMemory.Place(0xE410, {0x10, 0x00});
  InvalidateAllEcrRecords();  // the translator reads the new layout
  ASSERT_EQ(Run("CHIAVE R"), 0);
  for (const char* sale : {"VENDITA REPARTO=1, PREZZO=12.20", "VENDITA REPARTO=1, PREZZO=2", "VENDITA REPARTO=2, PREZZO=5.50"})
    ASSERT_EQ(Run(sale), 0) << sale;
  ASSERT_EQ(Run("PAGA"), 0);

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
