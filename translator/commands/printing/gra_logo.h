// Packing of a GRA picture (versions 2 and 3) into the register's logo
// record, DIS_XX: a short header, the picture bytes with runs of zero bytes
// coded as 0 and the run's length, and the picture's text lines.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace quadrel {

// Bytes of a row of `dots` dots at `bitsPerDot`: a remainder of 1 to 3 bits
// is dropped, 4 to 7 make a whole byte.
std::size_t GraRowBytes(std::size_t dots, std::size_t bitsPerDot);

// Packs `gra` into `record`. Returns the record's length, or 0 (with
// `record` empty) when the magic or the version is wrong, the file is
// shorter than its header says, or the record would pass the file's size
// plus 512 bytes.
std::size_t PackGraLogo(std::vector<std::uint8_t>& record, std::span<const std::uint8_t> gra);

}  // namespace quadrel
