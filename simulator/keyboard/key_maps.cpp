#include "keyboard/key_maps.h"

namespace ecrsim {
namespace {

constexpr std::uint8_t kFirstMap = 0;
constexpr std::uint8_t kMacro = 1;
constexpr std::uint8_t kSecondMap = 9;
constexpr std::size_t kMapRead = 2;
constexpr std::size_t kMapWrite = 4;
constexpr std::size_t kMacroRead = 3;

}  // namespace

bool KeyMaps::Handles(std::span<const std::uint8_t> frame) {
  if (frame.size() < 2 || frame[0] != 'C') return false;
  if (frame[1] == kFirstMap || frame[1] == kSecondMap) return frame.size() == kMapRead || frame.size() == kMapWrite;
  return frame[1] == kMacro && frame.size() >= kMacroRead;
}

std::optional<std::vector<std::uint8_t>> KeyMaps::Take(std::span<const std::uint8_t> frame) {
  if (frame[1] == kMacro) {
    const int number = frame[2];
    if (number < 1 || number > kMacroKeys) return std::nullopt;
    if (frame.size() == kMacroRead) return macros_[number - 1];
    macros_[number - 1].assign(frame.begin() + 3, frame.end());
    return std::vector<std::uint8_t>{0};
  }
  auto& codes = codes_[frame[1] == kSecondMap ? 1 : 0];
  if (frame.size() == kMapRead) return std::vector<std::uint8_t>(codes.begin(), codes.end());
  const int position = frame[2];
  if (position < 1 || position > kKeyPositions) return std::nullopt;
  codes[position - 1] = frame[3];
  return std::vector<std::uint8_t>{0};
}

}  // namespace ecrsim
