// Bytes that tests place in the register's memories over what the
// configuration composes: counter blocks and area blocks in the 16-bit space,
// journal blocks in the 32-bit space.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <vector>

namespace ecrsim {

class PlacedMemory {
 public:
  void Place(std::uint32_t address, std::vector<std::uint8_t> bytes) { blocks_[address] = std::move(bytes); }
  void Clear() { blocks_.clear(); }
  // The placed byte at `address`, if any.
  std::optional<std::uint8_t> ByteAt(std::uint32_t address) const;

 private:
  std::map<std::uint32_t, std::vector<std::uint8_t>> blocks_;
};

}  // namespace ecrsim
