// The register's printer: the lines it printed (readable through the control
// channel, and appended to a file when one is set), its line width, and the
// paper and cover conditions that stop it. Rows of graphic dots print as
// lines of '#' (a dot) and '.' and are also kept as bytes for an image.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

#include "printer/journal.h"

namespace ecrsim {

constexpr std::size_t kMaxPrintedLines = 10000;  // older lines are dropped
constexpr int kDefaultPrintWidth = 40;

// Critical codes of the printer: while one is set nothing prints, and the
// clear key cannot end the critical state it causes.
constexpr std::uint8_t kPrinterCoverOpen = 22;
constexpr std::uint8_t kPrinterPaperOut = 43;

class Printer {
 public:
  // Prints one line cut to the width.
  void Print(std::string_view line);
  // A label on the left and an amount in hundredths on the right.
  void PrintAmount(std::string_view label, std::int64_t hundredths);
  void PrintCentred(std::string_view text);
  void PrintRule();
  // One row of dots, most significant bit leftmost (printer_dots.cpp).
  void PrintDots(const std::vector<std::uint8_t>& row);

  // Every line printed, each ending with '\n'.
  std::string Text() const;
  void Clear() {
    lines_.clear();
    dotRows_.clear();
  }
  // The dot rows printed, oldest first, and the same as a plain PBM image
  // (as wide as the widest row, with a border of blank paper).
  const std::deque<std::vector<std::uint8_t>>& DotRows() const { return dotRows_; }
  std::string Pbm() const;

  int width = kDefaultPrintWidth;
  std::uint8_t fault = 0;      // 0, kPrinterCoverOpen or kPrinterPaperOut
  std::string file;            // lines are also appended here when set
  Journal* journal = nullptr;  // keeps every printed line when set
  // The line echo: while on, each printed line is also kept here until the
  // register sends it to the host as a data-collection event.
  bool echo = false;
  std::vector<std::string> echoed;

 private:
  void Keep(std::string line);

  std::deque<std::string> lines_;
  std::deque<std::vector<std::uint8_t>> dotRows_;
};

// 1250 -> "12.50", -5 -> "-0.05".
std::string AmountText(std::int64_t hundredths);

}  // namespace ecrsim
