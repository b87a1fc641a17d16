// The register's two key maps (a key code per keyboard position) and its
// macro sequences, as the 'C' 0, 'C' 9 and 'C' 1 frames write them.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

namespace ecrsim {

constexpr int kKeyPositions = 80;
constexpr int kMacroKeys = 40;

class KeyMaps {
 public:
  // A frame this class takes: 'C' 0 or 'C' 9 with a position and a code,
  // 'C' 1 with a macro number and its sequence.
  static bool Handles(std::span<const std::uint8_t> frame);
  // Writes the frame; false for a position or macro number out of range.
  bool Write(std::span<const std::uint8_t> frame);

  // Code at `position` (1..80) of map 0 or 1.
  std::uint8_t Code(int map, int position) const { return codes_[map][position - 1]; }
  // Sequence of macro `number` (1..40).
  const std::vector<std::uint8_t>& Macro(int number) const { return macros_[number - 1]; }

 private:
  std::array<std::array<std::uint8_t, kKeyPositions>, 2> codes_{};
  std::array<std::vector<std::uint8_t>, kMacroKeys> macros_;
};

}  // namespace ecrsim
