// A register layout small enough for the totals tests to read whole, in-process
// and through the real DLL: two departments (1 at VAT rate 1, 22 %; 2 at rate
// 2, 10 %), VAT records 0-2, one file-20 record and the general-totals block.
#pragma once

#include <cstdint>

#include "sim_register.h"

namespace quadrel_test {

inline void LayOutTotals(ecrsim::SimRegister& reg, char model, int amountBytes) {
  using ecrsim::Area;
  ecrsim::RegisterConfig& c = reg.EditConfig();
  c.SetNumber(Area::Identity, 69, 1, static_cast<std::uint8_t>(model));
  c.SetNumber(Area::Identity, 47, 1, 2);  // two departments of 32 bytes: totals from 6 + 1 + 3 + 2
  c.SetNumber(Area::Block1, 1, 2, 0xE200), c.SetNumber(Area::Block1, 3, 2, 32);
  c.SetNumber(Area::Block4, 35, 1, amountBytes), c.SetNumber(Area::Block4, 36, 1, 2);
  c.SetNumber(Area::Block4, 38, 1, 6), c.SetNumber(Area::Block4, 40, 1, 3), c.SetNumber(Area::Block4, 57, 1, 1);
  c.SetNumber(Area::Block4, 43, 1, 2);  // VAT records 0-2 of 24 bytes
  c.SetNumber(Area::Block1, 9, 2, 0xE400), c.SetNumber(Area::Block1, 11, 2, 24);
  c.SetNumber(Area::Block1, 17, 2, 0xE600), c.SetNumber(Area::Block1, 19, 2, 1);  // file 20: one record
  c.SetNumber(Area::Block1, 33, 2, 0xE700);                                      // the general-totals block
  c.SetNumber(Area::Block3, 61, 2, 0), c.SetFeatureLevel(57, 0);  // no 24-entry table, no table 15
  reg.placedMemory.Place(0xE200 + 8, {1});
  reg.placedMemory.Place(0xE200 + 32 + 8, {2});
  reg.placedMemory.Place(0xE400 + 24, {0x22, 0x00});
  reg.placedMemory.Place(0xE400 + 48, {0x10, 0x00});
}

}  // namespace quadrel_test
