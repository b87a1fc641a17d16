// The register's two key maps (a key code per keyboard position) and its
// macro sequences, as the 'C' 0, 'C' 9 and 'C' 1 frames write and read them.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace ecrsim {

constexpr int kKeyPositions = 80;
constexpr int kMacroKeys = 40;

class KeyMaps {
 public:
  // A frame this class takes: 'C' 0 or 'C' 9 alone (read the map) or with a
  // position and a code (write it); 'C' 1 with a macro number alone (read
  // the sequence) or with its keys (write it).
  static bool Handles(std::span<const std::uint8_t> frame);
  // The answer bytes after the letter: a read's codes, 0 for a write;
  // nothing for a position or macro number out of range.
  std::optional<std::vector<std::uint8_t>> Take(std::span<const std::uint8_t> frame);

  // Code at `position` (1..80) of map 0 or 1.
  std::uint8_t Code(int map, int position) const { return codes_[map][position - 1]; }
  void SetCode(int map, int position, std::uint8_t code) { codes_[map][position - 1] = code; }
  // Sequence of macro `number` (1..40).
  const std::vector<std::uint8_t>& Macro(int number) const { return macros_[number - 1]; }
  void SetMacro(int number, std::vector<std::uint8_t> keys) { macros_[number - 1] = std::move(keys); }

 private:
  std::array<std::array<std::uint8_t, kKeyPositions>, 2> codes_{};
  std::array<std::vector<std::uint8_t>, kMacroKeys> macros_;
};

}  // namespace ecrsim
