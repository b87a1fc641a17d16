#include "config/memory_image.h"

#include <algorithm>

namespace ecrsim {
namespace {

void Place(std::vector<std::uint8_t>& memory, std::uint32_t address, const std::vector<std::uint8_t>& data) {
  if (address >= memory.size()) return;
  const std::size_t count = std::min(data.size(), memory.size() - address);
  std::copy_n(data.begin(), count, memory.begin() + address);
}

}  // namespace

std::vector<std::uint8_t> ComposeMemory(const RegisterConfig& config) {
  std::vector<std::uint8_t> memory(kMemoryBytes, 0);
  // The record table first: the blocks win where a configuration lets them overlap it.
  Place(memory, config.RecordTableAddress(), config.Data(Area::RecordTable));
  Place(memory, config.Block1Address(), config.Data(Area::Block1));
  Place(memory, config.Block2Address(), config.Data(Area::Block2));
  Place(memory, config.Block3Address(), config.Data(Area::Block3));
  Place(memory, config.Block4Address(), config.Data(Area::Block4));
  if (config.Block5Address() != 0) Place(memory, config.Block5Address(), config.Data(Area::Block5));
  return memory;
}

std::uint8_t ExtendedMemoryByte(std::uint32_t address) {
  // Neighbouring addresses differ and no short period repeats, so a shifted read shows.
  return static_cast<std::uint8_t>((address * 2654435761u) >> 24 ^ address);
}

}  // namespace ecrsim
