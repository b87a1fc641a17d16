// Totals against the simulated register: the small totals layout, sales sold
// through the translator and the dumps' lines read back.
#pragma once

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <string>
#include <vector>

#include "sim_command_fixture.h"
#include "state/ecr_config.h"
#include "totals_layout.h"

class TotalsSimTest : public SimCommandTest {
 protected:
  // The small totals layout on model `model`, amounts of 4 bytes.
  void LayOut(char model) {
    quadrel_test::LayOutTotals(Reg(), model, 4);
    quadrel::InvalidateAllEcrRecords();  // the translator reads the new layout
  }

  // One paid receipt of `sales` (command lines).
  void SellAndPay(std::initializer_list<std::string> sales) {
    ASSERT_EQ(Run("CHIAVE R"), 0);
    for (const std::string& sale : sales) ASSERT_EQ(Run(sale), 0) << sale;
    ASSERT_EQ(Run("PAGA"), 0);
  }

  // The lines command 3 writes for `file` (and its further fields), without their line ends.
  std::vector<std::string> Dump(const std::string& file) {
    const std::filesystem::path path =
        std::filesystem::temp_directory_path() / ("quadrel-totals-" + std::to_string(::getpid()));
    EXPECT_EQ(Run("SCARICA ARCHIVIO=" + file + ", NOMEFILE='" + path.string() + "'"), 0);
    std::vector<std::string> lines;
    std::ifstream in(path, std::ios::binary);
    for (std::string line; std::getline(in, line);) lines.push_back(line.substr(0, line.size() - 1));
    std::filesystem::remove(path);
    return lines;
  }
};
