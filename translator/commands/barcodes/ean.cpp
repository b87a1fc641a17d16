#include "commands/barcodes/ean.h"

#include <algorithm>

#include "commands/barcodes/dot_row.h"

namespace quadrel {
namespace {

constexpr int kModuleDots = 2;
constexpr int kDigitModules = 7;
constexpr unsigned kGuard = 0b101;
constexpr unsigned kCentreGuard = 0b01010;
constexpr unsigned kBlankDigit = 0;

// Seven modules a digit, a set bit a bar.
constexpr unsigned kCodeL[10] = {0b0001101, 0b0011001, 0b0010011, 0b0111101, 0b0100011,
                                 0b0110001, 0b0101111, 0b0111011, 0b0110111, 0b0001011};
constexpr unsigned kCodeG[10] = {0b0100111, 0b0110011, 0b0011011, 0b0100001, 0b0011101,
                                 0b0111001, 0b0000101, 0b0010001, 0b0001001, 0b0010111};
constexpr unsigned kCodeR[10] = {0b1110010, 0b1100110, 0b1101100, 0b1000010, 0b1011100,
                                 0b1001110, 0b1010000, 0b1000100, 0b1001000, 0b1110100};
// EAN-13: which of digits 2-7 take G codes (bit 5 = digit 2), by digit 1.
constexpr unsigned kGParity[10] = {0b000000, 0b001011, 0b001101, 0b001110, 0b010011,
                                   0b011001, 0b011100, 0b010101, 0b010110, 0b011010};

bool DigitsOrBlanks(std::string_view text, std::size_t length) {
  return text.size() == length &&
         std::all_of(text.begin(), text.end(), [](char c) { return c == ' ' || (c >= '0' && c <= '9'); });
}

unsigned DigitCode(const unsigned (&codes)[10], char c) {
  return c == ' ' ? kBlankDigit : codes[c - '0'];
}

// Guard, the left digits in the codes `leftCode` picks, centre guard, the
// right digits in R codes, guard.
template <typename LeftCode>
int DrawEan(std::span<std::uint8_t> row, std::string_view left, std::string_view right, int rowBytes,
            LeftCode leftCode) {
  if (row.size() < static_cast<std::size_t>(rowBytes)) return 0;
  DotRow dots(row);
  dots.Modules(kGuard, 3, kModuleDots);
  for (std::size_t i = 0; i < left.size(); ++i)
    dots.Modules(leftCode(i, left[i]), kDigitModules, kModuleDots);
  dots.Modules(kCentreGuard, 5, kModuleDots);
  for (char c : right) dots.Modules(DigitCode(kCodeR, c), kDigitModules, kModuleDots);
  dots.Modules(kGuard, 3, kModuleDots);
  return rowBytes;
}

}  // namespace

int EncodeEan13(std::span<std::uint8_t> row, std::string_view text) {
  if (!DigitsOrBlanks(text, kEan13Digits)) return 0;
  const unsigned parity = text[0] == ' ' ? 0 : kGParity[text[0] - '0'];
  return DrawEan(row, text.substr(1, 6), text.substr(7), kEan13RowBytes, [parity](std::size_t i, char c) {
    return DigitCode((parity >> (5 - i)) & 1u ? kCodeG : kCodeL, c);
  });
}

int EncodeEan8(std::span<std::uint8_t> row, std::string_view text) {
  if (!DigitsOrBlanks(text, kEan8Digits)) return 0;
  return DrawEan(row, text.substr(0, 4), text.substr(4), kEan8RowBytes,
                 [](std::size_t, char c) { return DigitCode(kCodeL, c); });
}

}  // namespace quadrel
