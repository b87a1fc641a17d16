// A register layout small enough for the totals tests to read whole, in-process
// and through the real DLL: two departments (1 at VAT rate 1, 22 %; 2 at rate
// 2, 10 %), VAT records 0-2, one file-20 record and the general-totals block.
#pragma once

#include <cstdint>

#include "sim_register.h"

namespace quadrel_test {

inline void LayOutTotals(ecrsim::SimRegister& reg, char model, int amountBytes) {
  using ecrsim::Area;
  struct Number {
    Area area;
    int offset, width;
    std::uint32_t value;
  };
  ecrsim::RegisterConfig& c = reg.EditConfig();
  for (const Number& number : {
           Number{Area::Identity, 69, 1, static_cast<std::uint8_t>(model)},
           {Area::Identity, 47, 1, 2},  // two departments of 32 bytes: totals from 6 + 1 + 3 + 2
           {Area::Block1, 1, 2, 0xE200},
           {Area::Block1, 3, 2, 32},
           {Area::Block4, 35, 1, static_cast<std::uint32_t>(amountBytes)},
           {Area::Block4, 36, 1, 2},
           {Area::Block4, 38, 1, 6},
           {Area::Block4, 40, 1, 3},
           {Area::Block4, 57, 1, 1},
           {Area::Block4, 43, 1, 2},  // VAT records 0-2 of 24 bytes
           {Area::Block1, 9, 2, 0xE400},
           {Area::Block1, 11, 2, 24},
           {Area::Block1, 17, 2, 0xE600},
           {Area::Block1, 19, 2, 1},       // file 20: one record
           {Area::Block1, 33, 2, 0xE700},  // the general-totals block
           {Area::Block3, 61, 2, 0},       // no 24-entry table
       })
    c.SetNumber(number.area, number.offset, number.width, number.value);
  c.SetFeatureLevel(57, 0);  // no table 15
  reg.placedMemory.Place(0xE200 + 8, {1});
  reg.placedMemory.Place(0xE200 + 32 + 8, {2});
  reg.placedMemory.Place(0xE400 + 24, {0x22, 0x00});
  reg.placedMemory.Place(0xE400 + 48, {0x10, 0x00});
}

}  // namespace quadrel_test
