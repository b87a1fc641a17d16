#include "commands/barcodes/dot_row.h"

namespace quadrel {

void DotRow::Bar(int dots) {
  for (int i = 0; i < dots; ++i, ++dots_) {
    const std::size_t byte = static_cast<std::size_t>(dots_ / 8);
    if (byte >= bytes_.size()) {
      overflowed_ = true;
      continue;
    }
    bytes_[byte] |= static_cast<std::uint8_t>(0x80u >> (dots_ % 8));
  }
}

void DotRow::Space(int dots) {
  dots_ += dots;
  if (static_cast<std::size_t>(Bytes()) > bytes_.size()) overflowed_ = true;
}

void DotRow::Modules(unsigned pattern, int modules, int width) {
  for (int m = modules - 1; m >= 0; --m) {
    if ((pattern >> m) & 1u)
      Bar(width);
    else
      Space(width);
  }
}

}  // namespace quadrel
