// The printer's rows of graphic dots: as text lines and as a PBM image.
#include <algorithm>

#include "printer.h"

namespace ecrsim {
namespace {

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
  std::string image = "P1\n" + std::to_string(widest * 8) + " " + std::to_string(dotRows_.size()) + "\n";
  for (const auto& row : dotRows_) {
    for (std::size_t dot = 0; dot < widest * 8; ++dot) image.push_back(DotSet(row, dot) ? '1' : '0');
    image.push_back('\n');
  }
  return image;
}

}  // namespace ecrsim
