// A row of printer dots that barcode encoders draw into: dot i is bit
// 7 - (i mod 8) of byte i / 8, a set bit prints. Bars past the row's end are
// never written; the row remembers that it overflowed instead.
#pragma once

#include <cstdint>
#include <span>

namespace quadrel {

class DotRow {
 public:
  explicit DotRow(std::span<std::uint8_t> bytes) : bytes_(bytes) {}

  void Bar(int dots);
  void Space(int dots);
  // Modules of `width` dots from the high bits of `pattern` (`modules` of
  // them, most significant first): a set bit is a bar.
  void Modules(unsigned pattern, int modules, int width);

  int Dots() const { return dots_; }
  // Bytes used: the dots drawn, a partial byte counted whole.
  int Bytes() const { return (dots_ + 7) / 8; }
  bool Overflowed() const { return overflowed_; }

 private:
  std::span<std::uint8_t> bytes_;
  int dots_ = 0;
  bool overflowed_ = false;
};

}  // namespace quadrel
