// The exports through which the host reads the configuration of the selected
// register, or of any register of its line: one number or one text an item.
#pragma once

#include <cstdint>

#include "interfaces/translator_exports.h"

namespace quadrel {

// Identifier: bits 16-31 the register (0 = the current one, no switching), bits 0-15 the item.
constexpr int EcrOfConfId(std::uint32_t id) {
  return static_cast<int>(id >> 16);
}
constexpr int ItemOfConfId(std::uint32_t id) {
  return static_cast<int>(id & 0xFFFF);
}
constexpr std::uint32_t ConfId(int ecr, int item) {
  return static_cast<std::uint32_t>(ecr) << 16 | static_cast<std::uint32_t>(item & 0xFFFF);
}

// Whether a register may be named in an identifier: the host serves it, and
// on a multi-register line marks it present; a single-register line has only 1.
bool EcrAddressable(int ecr);

}  // namespace quadrel

