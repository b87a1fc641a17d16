// GRA pictures built for tests: the header, the text entries (empty ones
// filling up to the rows and the second count) and the picture bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace quadrel_test {

using GraBytes = std::vector<std::uint8_t>;

struct GraPicture {
  char version = '2';
  int flags = 0, width = 8, rows = 1, width2 = 0, count2 = 0, bitsPerDot = 1, repeat = 1, textLimit = 0;
  std::vector<GraBytes> entries{};  // each its text bytes and then the attribute; empty ones follow
  GraBytes picture{};
};

inline GraBytes Gra(const GraPicture& p) {
  GraBytes gra = {'G', 'R', 'A', static_cast<std::uint8_t>(p.version), static_cast<std::uint8_t>(p.flags), 0};
  for (const int word : {p.width, p.rows, p.width2, p.count2, p.bitsPerDot, p.repeat, p.textLimit}) {
    gra.push_back(static_cast<std::uint8_t>(word));
    gra.push_back(static_cast<std::uint8_t>(word >> 8));
  }
  gra.resize(32);
  const std::size_t entryBytes = p.version == '2' ? 25 : 37;
  std::vector<GraBytes> entries = p.entries;
  entries.resize(static_cast<std::size_t>(p.rows + p.count2), GraBytes{0});
  for (GraBytes entry : entries) {
    const std::uint8_t attribute = entry.back();
    entry.pop_back();
    entry.resize(entryBytes - 1);
    entry.push_back(attribute);
    gra.insert(gra.end(), entry.begin(), entry.end());
  }
  gra.insert(gra.end(), p.picture.begin(), p.picture.end());
  return gra;
}

}  // namespace quadrel_test
