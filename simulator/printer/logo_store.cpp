#include "printer/logo_store.h"

#include <algorithm>
#include <cstring>

namespace ecrsim {
namespace {

constexpr std::uint8_t kLogoCode = 16;
constexpr std::uint8_t kSettings = 99, kChunk = 1, kFirstMarkedChunk = 2, kEnd = 1;
constexpr std::size_t kChunkHeader = 6;  // 'C' 16 k n offset-low offset-high
constexpr char kRecordName[] = "DIS_XX";

// The picture bytes of a DIS_XX record: the header (longer when the record
// carries texts, which then follow the picture at the offset it gives), the
// name, then bytes where 0 and a count stand for that many zero bytes.
bool UnpackPicture(const std::vector<std::uint8_t>& record, std::size_t& rowBytes,
                   std::vector<std::uint8_t>& picture) {
  if (record.size() < 5) return false;
  const bool texts = record[0] & 0x80;
  rowBytes = record[1];
  const std::size_t name = texts ? 10 : 5;
  if (rowBytes == 0 || record.size() < name + sizeof kRecordName ||
      std::memcmp(&record[name], kRecordName, sizeof kRecordName) != 0)
    return false;
  const std::size_t end = texts ? static_cast<std::size_t>(record[5] | record[6] << 8) : record.size();
  if (end > record.size()) return false;
  for (std::size_t i = name + sizeof kRecordName; i < end; ++i) {
    if (record[i] != 0) {
      picture.push_back(record[i]);
    } else if (++i < end) {
      picture.insert(picture.end(), record[i], 0);
    } else {
      return false;  // a run without its count
    }
  }
  return true;
}

}  // namespace

bool LogoStore::Handles(std::span<const std::uint8_t> frame) {
  return frame.size() >= 2 && frame[0] == 'C' && frame[1] == kLogoCode;
}

std::optional<std::uint8_t> LogoStore::Take(std::span<const std::uint8_t> frame) {
  if (frame.size() == 5 && frame[2] == kSettings) {
    if (frame[3] > 99 || frame[4] > 99) return std::nullopt;
    if (verdict == 0) {
      settingA = frame[3];
      settingB = frame[4];
    }
    return verdict;
  }
  if (frame.size() < 4 || frame[3] < 1 || frame[3] > kLogoSlots) return std::nullopt;
  std::vector<std::uint8_t>& upload = uploads_[frame[3] - 1u];
  if (frame.size() == 4 && frame[2] == kEnd) {
    if (verdict == 0) logos_[frame[3] - 1u] = std::move(upload);
    upload.clear();
    return verdict;
  }
  if (frame.size() <= kChunkHeader || (frame[2] != kChunk && frame[2] != kFirstMarkedChunk)) return std::nullopt;
  const std::size_t offset = frame[4] | frame[5] << 8;
  if (offset == 0) upload.clear();
  if (offset != upload.size()) return std::nullopt;
  if (verdict != 0) return verdict;
  if (upload.size() + frame.size() - kChunkHeader > memory) return kLogoMemoryFull;
  upload.insert(upload.end(), frame.begin() + kChunkHeader, frame.end());
  return 0;
}

std::string LogoStore::Pbm(int slot) const {
  std::size_t rowBytes = 0;
  std::vector<std::uint8_t> picture;
  if (slot < 1 || slot > kLogoSlots || !UnpackPicture(Logo(slot), rowBytes, picture)) return {};
  const std::size_t rows = picture.size() / rowBytes;
  std::string image = "P1\n" + std::to_string(rowBytes * 8) + " " + std::to_string(rows) + "\n";
  for (std::size_t row = 0; row < rows; ++row) {
    for (std::size_t dot = 0; dot < rowBytes * 8; ++dot)
      image.push_back((picture[row * rowBytes + dot / 8] >> (7 - dot % 8)) & 1 ? '1' : '0');
    image.push_back('\n');
  }
  return image;
}

}  // namespace ecrsim
