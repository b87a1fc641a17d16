#include "key_maps.h"

namespace ecrsim {
namespace {

constexpr std::uint8_t kFirstMap = 0;
constexpr std::uint8_t kMacro = 1;
constexpr std::uint8_t kSecondMap = 9;

}  // namespace

bool KeyMaps::Handles(std::span<const std::uint8_t> frame) {
  if (frame.size() < 3 || frame[0] != 'C') return false;
  if (frame[1] == kFirstMap || frame[1] == kSecondMap) return frame.size() == 4;
  return frame[1] == kMacro;
}

bool KeyMaps::Write(std::span<const std::uint8_t> frame) {
  const int number = frame[2];
  if (frame[1] == kMacro) {
    if (number < 1 || number > kMacroKeys) return false;
    macros_[number - 1].assign(frame.begin() + 3, frame.end());
    return true;
  }
  if (number < 1 || number > kKeyPositions) return false;
  codes_[frame[1] == kSecondMap ? 1 : 0][number - 1] = frame[3];
  return true;
}

}  // namespace ecrsim
