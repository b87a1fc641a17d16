// File 9999 end to end: the simulated register's whole memory, line by line.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "config/memory_image.h"
#include "sim_command_fixture.h"

namespace quadrel {
namespace {

class MemoryDumpSim : public SimCommandTest {};

TEST_F(MemoryDumpSim, EveryLineHoldsTheRegistersBytes) {
  const std::string path =
      (std::filesystem::temp_directory_path() / ("quadrel-mem-" + std::to_string(::getpid()))).string();
  Reg().placedMemory.Place(0x1230, {0xAB, 0xCD});
  const std::vector<std::uint8_t> low = ecrsim::ComposeMemory(*ecrsim::BuiltInConfig("t72"));
  ASSERT_EQ(Run("SCARICA ARCHIVIO=9999, SESSIONE, NOMEFILE='" + path + "'"), 0);

  std::ifstream in(path, std::ios::binary);
  int count = 0;
  for (std::string line; std::getline(in, line); ++count) {
    const std::uint32_t address = static_cast<std::uint32_t>(count) * 16;
    std::string expected(7, ' ');
    std::snprintf(expected.data(), 8, "%06X:", address);
    for (std::uint32_t i = address; i < address + 16; ++i) {
      const std::uint8_t byte = i == 0x1230 ? 0xAB : i == 0x1231 ? 0xCD : i < low.size() ? low[i] : ecrsim::ExtendedMemoryByte(i);
      char hex[3];
      std::snprintf(hex, sizeof hex, "%02X", byte);
      expected += hex;
    }
    ASSERT_EQ(line, expected + "\r");
  }
  EXPECT_EQ(count, 32768);  // no session lines around a memory image
  std::filesystem::remove(path);
}

}  // namespace
}  // namespace quadrel
