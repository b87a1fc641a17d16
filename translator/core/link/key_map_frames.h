// The 'C' frames of the register's keyboard: the two key maps (a key code
// per position) and the key sequences of the macro keys.
#pragma once

#include <cstdint>

namespace quadrel {

constexpr std::uint8_t kFirstKeyMapFrame = 0;   // 'C' 0: read, or a position and its code
constexpr std::uint8_t kMacroFrame = 1;         // 'C' 1 m: read, or macro m's keys
constexpr std::uint8_t kSecondKeyMapFrame = 9;  // 'C' 9: as 'C' 0 on the second map

constexpr int kFirstMacroCode = 200;
constexpr int kLastMacroCode = 239;

constexpr bool IsMacroKey(int code) { return code >= kFirstMacroCode && code <= kLastMacroCode; }
// The macro number (1..40) of 'C' 1 for a macro key.
constexpr std::uint8_t MacroNumber(int code) { return static_cast<std::uint8_t>(code - kFirstMacroCode + 1); }

}  // namespace quadrel
