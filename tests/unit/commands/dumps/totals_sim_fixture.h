// Totals against the simulated register: a small layout the tests can read
// whole (two departments, three VAT records, one file-20 record), sales sold
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

class TotalsSimTest : public SimCommandTest {
 protected:
  // Department 1 at VAT rate 1 (22 %), department 2 at rate 2 (10 %), amounts
  // of `amountBytes` bytes; the register's model letter is `model`.
  void LayOut(char model, int amountBytes = 4) {
    using ecrsim::Area;
    ecrsim::RegisterConfig& c = Reg().EditConfig();
    c.SetNumber(Area::Identity, 69, 1, static_cast<std::uint8_t>(model));
    c.SetNumber(Area::Identity, 47, 1, 2);  // two departments of 32 bytes: totals from 6 + 1 + 3 + 2
    c.SetNumber(Area::Block1, 1, 2, 0xE200), c.SetNumber(Area::Block1, 3, 2, 32);
    c.SetNumber(Area::Block4, 35, 1, amountBytes), c.SetNumber(Area::Block4, 36, 1, 2);
    c.SetNumber(Area::Block4, 38, 1, 6), c.SetNumber(Area::Block4, 40, 1, 3), c.SetNumber(Area::Block4, 57, 1, 1);
    c.SetNumber(Area::Block4, 43, 1, 2);  // VAT records 0-2 of 24 bytes
    c.SetNumber(Area::Block1, 9, 2, 0xE400), c.SetNumber(Area::Block1, 11, 2, 24);
    c.SetNumber(Area::Block1, 17, 2, 0xE600), c.SetNumber(Area::Block1, 19, 2, 1);  // file 20: one record
    c.SetNumber(Area::Block1, 33, 2, 0xE700);  // the general-totals block
    c.SetNumber(Area::Block3, 61, 2, 0), c.SetFeatureLevel(57, 0);  // no 24-entry table, no table 15
    Reg().placedMemory.Place(0xE200 + 8, {1});
    Reg().placedMemory.Place(0xE200 + 32 + 8, {2});
    Reg().placedMemory.Place(0xE400 + 24, {0x22, 0x00});
    Reg().placedMemory.Place(0xE400 + 48, {0x10, 0x00});
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
