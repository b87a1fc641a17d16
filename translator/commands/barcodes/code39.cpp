#include "commands/barcodes/code39.h"

#include "commands/barcodes/dot_row.h"

namespace quadrel {
namespace {

// The characters in the order of their check values 0-42.
constexpr std::string_view kCharacters = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ-. $/+%";
constexpr int kCheckModulus = 43;
constexpr int kElements = 9;

// Nine elements a character, bar first and alternating; a set bit is wide.
constexpr unsigned kPatterns[kCheckModulus] = {
    0b000110100, 0b100100001, 0b001100001, 0b101100000, 0b000110001, 0b100110000, 0b001110000, 0b000100101,
    0b100100100, 0b001100100, 0b100001001, 0b001001001, 0b101001000, 0b000011001, 0b100011000, 0b001011000,
    0b000001101, 0b100001100, 0b001001100, 0b000011100, 0b100000011, 0b001000011, 0b101000010, 0b000010011,
    0b100010010, 0b001010010, 0b000000111, 0b100000110, 0b001000110, 0b000010110, 0b110000001, 0b011000001,
    0b111000000, 0b010010001, 0b110010000, 0b011010000, 0b010000101, 0b110000100, 0b011000100, 0b010101000,
    0b010100010, 0b010001010, 0b000101010};
constexpr unsigned kStartStop = 0b010010100;

void DrawCharacter(DotRow& dots, unsigned pattern, int moduleDots) {
  for (int e = kElements - 1; e >= 0; --e) {
    const int width = (pattern >> e) & 1u ? 2 * moduleDots : moduleDots;
    if ((kElements - 1 - e) % 2 == 0)
      dots.Bar(width);
    else
      dots.Space(width);
  }
}

}  // namespace

int EncodeCode39(std::span<std::uint8_t> row, std::string_view text, int moduleDots, bool check) {
  DotRow dots(row);
  DrawCharacter(dots, kStartStop, moduleDots);
  int sum = 0;
  for (char c : text) {
    const std::size_t value = kCharacters.find(c);
    if (value == std::string_view::npos) return kCode39Refused;
    sum += static_cast<int>(value);
    dots.Space(moduleDots);
    DrawCharacter(dots, kPatterns[value], moduleDots);
  }
  if (check) {
    dots.Space(moduleDots);
    DrawCharacter(dots, kPatterns[sum % kCheckModulus], moduleDots);
  }
  dots.Space(moduleDots);
  DrawCharacter(dots, kStartStop, moduleDots);
  return dots.Overflowed() ? kCode39Refused : dots.Bytes();
}

}  // namespace quadrel
