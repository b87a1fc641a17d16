// The parameter slots of the command line being executed. Slot k holds field k
// of the command; slot 0 is never filled. An empty slot means the field was not
// given; a field given without a value holds "VERO".
#pragma once

#include <array>
#include <cstddef>
#include <string>

namespace quadrel {

constexpr int kFieldSlotCount = 41;
constexpr std::size_t kMaxFieldValueLength = 2048;

struct CommandFieldSlots {
  std::array<std::string, kFieldSlotCount> value;
  std::array<bool, kFieldSlotCount> quoted{};  // the value was written in quotes
};

CommandFieldSlots& CommandFields();

// Empties slots 1 to 40 and their quoted flags.
void ClearCommandFields();

// Copy every slot (texts and quoted flags) to and from one save area, so a
// handler can run a nested command line and read its own parameters after it.
void SaveCommandFields();
void RestoreCommandFields();

}  // namespace quadrel
