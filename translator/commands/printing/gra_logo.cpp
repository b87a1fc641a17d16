#include "commands/printing/gra_logo.h"

#include <algorithm>
#include <cstring>

namespace quadrel {
namespace {

constexpr std::size_t kHeaderBytes = 32;
constexpr std::size_t kRecordSlack = 512;  // the record may pass the file's size by this much
constexpr std::uint8_t kHasTexts = 0x80;
constexpr std::size_t kDefaultTextLimit = 18;
constexpr std::uint8_t kTextAttributeMark = 1;
constexpr std::uint8_t kMaxZeroRun = 255;
constexpr char kRecordName[] = "DIS_XX";  // written with its terminating zero

struct GraHeader {
  std::uint8_t flags;
  std::size_t width, rows, width2, count2, bitsPerDot, repeat, textLimit, entryBytes;
};

std::size_t Word(std::span<const std::uint8_t> gra, std::size_t offset) {
  return static_cast<std::size_t>(gra[offset] | gra[offset + 1] << 8);
}

bool ReadHeader(std::span<const std::uint8_t> gra, GraHeader& header) {
  if (gra.size() < kHeaderBytes || std::memcmp(gra.data(), "GRA", 3) != 0 || (gra[3] != '2' && gra[3] != '3'))
    return false;
  header = {gra[4],          Word(gra, 6),  Word(gra, 8),  Word(gra, 10),
            Word(gra, 12),   Word(gra, 14), Word(gra, 16), Word(gra, 18),
            gra[3] == '2' ? 25u : 37u};
  if (header.textLimit == 0) header.textLimit = kDefaultTextLimit;
  return true;
}

// Zero bytes become 0 and the run's length (1 to 255); other bytes stay.
void AppendZeroRunCoded(std::vector<std::uint8_t>& out, std::span<const std::uint8_t> bytes) {
  std::size_t run = 0;
  const auto closeRun = [&] {
    if (run == 0) return;
    out.push_back(0);
    out.push_back(static_cast<std::uint8_t>(run));
    run = 0;
  };
  for (const std::uint8_t byte : bytes) {
    if (byte != 0) {
      closeRun();
      out.push_back(byte);
    } else if (++run == kMaxZeroRun) {
      closeRun();
    }
  }
  closeRun();
}

// An entry's text line: its attribute (when not 0) marked with 1, the text up
// to its first zero, the limit or the entry's end, then 0.
void AppendTextLine(std::vector<std::uint8_t>& out, std::span<const std::uint8_t> entry, std::size_t limit) {
  const std::span<const std::uint8_t> text = entry.first(entry.size() - 1);
  const std::uint8_t attribute = entry.back();
  if (attribute != 0) {
    out.push_back(kTextAttributeMark);
    out.push_back(attribute);
  }
  const auto end = std::find(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(std::min(limit, text.size())),
                             std::uint8_t{0});
  out.insert(out.end(), text.begin(), end);
  out.push_back(0);
}

}  // namespace

std::size_t GraRowBytes(std::size_t dots, std::size_t bitsPerDot) {
  const std::size_t bits = dots * bitsPerDot;
  return bits / 8 + (bits % 8 > 3 ? 1 : 0);
}

std::size_t PackGraLogo(std::vector<std::uint8_t>& record, std::span<const std::uint8_t> gra) {
  record.clear();
  GraHeader h{};
  if (!ReadHeader(gra, h)) return 0;
  const std::size_t rowBytes = GraRowBytes(h.width, h.bitsPerDot);
  const std::size_t entries = h.rows + h.count2;
  // In 64 bits: the header's words multiplied pass 32.
  const std::uint64_t pictureSize = std::uint64_t{h.rows} * h.repeat * rowBytes;
  if (kHeaderBytes + std::uint64_t{entries} * h.entryBytes + pictureSize > gra.size()) return 0;
  const std::size_t textBytes = entries * h.entryBytes;
  const std::size_t pictureBytes = static_cast<std::size_t>(pictureSize);

  const bool hasTexts = h.flags & kHasTexts;
  record = {h.flags, static_cast<std::uint8_t>(rowBytes), static_cast<std::uint8_t>(h.rows),
            static_cast<std::uint8_t>(GraRowBytes(h.width2, h.bitsPerDot)), static_cast<std::uint8_t>(h.count2)};
  const std::size_t textOffsetAt = record.size();
  if (hasTexts) record.insert(record.end(), {0, 0, static_cast<std::uint8_t>(h.repeat), 0, 0});
  record.insert(record.end(), std::begin(kRecordName), std::end(kRecordName));
  AppendZeroRunCoded(record, gra.subspan(kHeaderBytes + textBytes, pictureBytes));
  if (hasTexts) {
    record[textOffsetAt] = static_cast<std::uint8_t>(record.size());
    record[textOffsetAt + 1] = static_cast<std::uint8_t>(record.size() >> 8);
    for (std::size_t i = 0; i < entries; ++i)
      AppendTextLine(record, gra.subspan(kHeaderBytes + i * h.entryBytes, h.entryBytes), h.textLimit);
  }
  if (record.size() > gra.size() + kRecordSlack) record.clear();
  return record.size();
}

}  // namespace quadrel
