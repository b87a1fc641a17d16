// The simulated register the receipt commands read: its last receipt number
// (the first field of information item 10).
#pragma once

#include <cstdint>

#include "sim_host.h"

namespace mail_test {

constexpr std::uint16_t kCounterBlocks = 0x3000;

// Item 10 answers `lastReceipt` (1-9999): the counter block holds one less.
inline void SetLastReceipt(ecrsim::SimRegister& reg, int lastReceipt) {
  const int counter = lastReceipt - 1;
  reg.EditConfig().SetNumber(ecrsim::Area::Block3, 81, 2, kCounterBlocks);
  reg.placedMemory.Place(kCounterBlocks, {static_cast<std::uint8_t>(counter / 1000 << 4 | counter / 100 % 10),
                                          static_cast<std::uint8_t>(counter / 10 % 10 << 4 | counter % 10)});
}

}  // namespace mail_test
