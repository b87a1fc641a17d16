// A simulated register laid out so that register file 99 carries what it
// sells: two departments at two VAT rates (22 % and 10 %), one file-20
// record; and the sales that reach them.
#pragma once

#include "sim_host.h"

namespace quadrel_test {

inline void LayOutTwoDepartmentTotals(ecrsim::SimRegister& reg) {
  using ecrsim::Area;
  ecrsim::RegisterConfig& c = reg.EditConfig();
  c.SetNumber(Area::Identity, 47, 1, 2);  // two departments of 24 bytes: totals from 6 + 1 + 3 + 2
  c.SetNumber(Area::Block1, 1, 2, 0xE200), c.SetNumber(Area::Block1, 3, 2, 24);
  c.SetNumber(Area::Block4, 35, 1, 4), c.SetNumber(Area::Block4, 36, 1, 2);
  c.SetNumber(Area::Block4, 38, 1, 6), c.SetNumber(Area::Block4, 40, 1, 3);
  c.SetNumber(Area::Block4, 57, 1, 1);
  c.SetNumber(Area::Block4, 43, 1, 2);  // VAT records 0-2 of 8 bytes
  c.SetNumber(Area::Block1, 9, 2, 0xE400), c.SetNumber(Area::Block1, 11, 2, 8);
  c.SetNumber(Area::Block1, 17, 2, 0xE600), c.SetNumber(Area::Block1, 19, 2, 1);  // file 20: one record
  c.SetNumber(Area::Block3, 61, 2, 0), c.SetFeatureLevel(57, 0);  // no 24-entry table, no table 15
  reg.placedMemory.Place(0xE200 + 8, {1});  // department 1 at rate 1 (22 %), department 2 at rate 2 (10 %)
  reg.placedMemory.Place(0xE200 + 24 + 8, {2});
  reg.placedMemory.Place(0xE408, {0x22, 0x00});
  reg.placedMemory.Place(0xE410, {0x10, 0x00});
}

// 14.20 in department 1 and 5.50 in department 2, in one receipt.
inline constexpr const char* kTwoDepartmentSales[] = {"CHIAVE R", "VENDITA REPARTO=1, PREZZO=12.20",
                                                      "VENDITA REPARTO=1, PREZZO=2",
                                                      "VENDITA REPARTO=2, PREZZO=5.50", "PAGA"};

}  // namespace quadrel_test
