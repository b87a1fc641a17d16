// The printer's rows of graphic dots: as text lines and as a PBM image.
#include <algorithm>

#include "printer/printer.h"

namespace ecrsim {
namespace {

// Blank paper around the rows in the image: barcode readers need the quiet
// zones a printout has.
constexpr std::size_t kImageBorderDots = 32;

bool DotSet(const std::vector<std::uint8_t>& row, std::size_t dot) {
  return dot / 8 < row.size() && (row[dot / 8] >> (7 - dot % 8)) & 1;
}

}  // namespace

void Printer::PrintDots(const std::vector<std::uint8_t>& row) {
  std::string line;
  for (std::size_t dot = 0; dot < row.size() * 8; ++dot) line.push_back(DotSet(row, dot) ? '#' : '.');
  Keep(std::move(line));
  if (dotRows_.size() >= kMaxPrintedLines) dotRows_.pop_front();
  dotRows_.push_back(row);
}

std::string Printer::Pbm() const {
  std::size_t widest = 0;
  for (const auto& row : dotRows_) widest = std::max(widest, row.size());
  const std::size_t width = widest * 8 + 2 * kImageBorderDots;
  const std::string blankLine = std::string(width, '0') + '\n';
  std::string image = "P1\n" + std::to_string(width) + " " +
                      std::to_string(dotRows_.size() + 2 * kImageBorderDots) + "\n";
  for (std::size_t i = 0; i < kImageBorderDots; ++i) image += blankLine;
  for (const auto& row : dotRows_) {
    image.append(kImageBorderDots, '0');
    for (std::size_t dot = 0; dot < widest * 8; ++dot) image.push_back(DotSet(row, dot) ? '1' : '0');
    image.append(kImageBorderDots, '0');
    image.push_back('\n');
  }
  for (std::size_t i = 0; i < kImageBorderDots; ++i) image += blankLine;
  return image;
}

}  // namespace ecrsim
