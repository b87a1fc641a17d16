#include "config/placed_memory.h"

namespace ecrsim {

std::optional<std::uint8_t> PlacedMemory::ByteAt(std::uint32_t address) const {
  auto block = blocks_.upper_bound(address);
  if (block == blocks_.begin()) return std::nullopt;
  --block;
  const std::uint32_t offset = address - block->first;
  if (offset >= block->second.size()) return std::nullopt;
  return block->second[offset];
}

}  // namespace ecrsim
