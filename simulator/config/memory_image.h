// The register's memory as the host reads it: a 16-bit space ('D' frames) in
// which the configuration's blocks lie at the addresses the blocks give, and a
// 32-bit space ('O' 20 frames) whose bytes follow a fixed pattern of their address.
#pragma once

#include <cstdint>
#include <vector>

#include "config/register_config.h"

namespace ecrsim {

constexpr std::uint32_t kMemoryBytes = 0x10000;  // the 16-bit space
constexpr std::uint32_t kExtendedMemoryBytes = 1u << 20;

// 64 KiB image: zero except for blocks 1-5 and the record table. A block that
// would run past the end is cut there.
std::vector<std::uint8_t> ComposeMemory(const RegisterConfig& config);

// The byte at `address` of the 32-bit space (valid below kExtendedMemoryBytes).
std::uint8_t ExtendedMemoryByte(std::uint32_t address);

}  // namespace ecrsim
