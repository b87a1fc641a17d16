#include "config/register_config.h"

#include <algorithm>

namespace ecrsim {
namespace {

constexpr std::array<std::string_view, kAreaCount> kAreaNames = {
    "identity", "idblock",  "block1",    "block2", "block3",   "block4", "block5",
    "records",  "settings", "setting15", "info0",  "fileinfo", "ext31",  "info24",
    "counters", "card",     "cardtext",  "values", "statusex"};

constexpr int kFeatureBytesBlock3 = 89;  // entries 0-95
constexpr int kFeatureBytesBlock4 = 1;   // entries 96-127
constexpr int kFeatureFlagsOffset = 85;  // bit 0: block 4 carries entries 96-127

// Largest area the configuration accepts: an answer never exceeds one frame.
constexpr std::size_t kMaxAreaBytes = 511;

}  // namespace

int FixedSize(Area area) {
  switch (area) {
    case Area::Block1:
      return kBlock1Bytes;
    case Area::Block2:
      return kBlock2Bytes;
    case Area::Block3:
      return kBlock3Bytes;
    case Area::Block4:
      return kBlock4Bytes;
    case Area::Block5:
      return kBlock5Bytes;
    default:
      return 0;
  }
}

std::string_view AreaName(Area area) {
  return kAreaNames[static_cast<int>(area)];
}

std::optional<Area> AreaByName(std::string_view name) {
  for (int i = 0; i < kAreaCount; ++i) {
    if (kAreaNames[i] == name) return static_cast<Area>(i);
  }
  return std::nullopt;
}

RegisterConfig::RegisterConfig() : name("custom") {
  for (int i = 0; i < kAreaCount; ++i) areas_[i].assign(FixedSize(static_cast<Area>(i)), 0);
}

bool RegisterConfig::Resize(Area area, std::size_t bytes) {
  // The record table may span many frames' worth of memory; it is read record by record.
  const std::size_t limit = area == Area::RecordTable ? 0xFFFF : kMaxAreaBytes;
  if (FixedSize(area) != 0 || bytes > limit) return false;
  areas_[static_cast<int>(area)].resize(bytes, 0);
  return true;
}

std::uint32_t RegisterConfig::Number(Area area, int offset, int width) const {
  const auto& data = Data(area);
  std::uint32_t value = 0;
  for (int i = width - 1; i >= 0; --i) {
    const long index = static_cast<long>(offset) + i - 1;
    const std::uint8_t byte = index >= 0 && index < static_cast<long>(data.size()) ? data[index] : 0;
    value = (value << 8) | byte;
  }
  return value;
}

bool RegisterConfig::SetBytes(Area area, int offset, const std::vector<std::uint8_t>& bytes) {
  if (offset < 1) return false;
  auto& data = areas_[static_cast<int>(area)];
  const std::size_t end = static_cast<std::size_t>(offset - 1) + bytes.size();
  if (end > data.size() && !Resize(area, end)) return false;
  std::copy(bytes.begin(), bytes.end(), data.begin() + (offset - 1));
  return true;
}

bool RegisterConfig::SetNumber(Area area, int offset, int width, std::uint32_t value) {
  if (width < 1 || width > 3) return false;
  std::vector<std::uint8_t> bytes;
  for (int i = 0; i < width; ++i) bytes.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
  return SetBytes(area, offset, bytes);
}

bool RegisterConfig::SetText(Area area, int offset, int width, std::string_view text) {
  if (width < 0) return false;
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(width), ' ');
  std::copy_n(text.begin(), std::min<std::size_t>(text.size(), bytes.size()), bytes.begin());
  return SetBytes(area, offset, bytes);
}

std::string RegisterConfig::Text(Area area, int offset, int width) const {
  std::string text;
  for (int i = 0; i < width; ++i) text.push_back(static_cast<char>(Byte(area, offset + i)));
  return text;
}

int RegisterConfig::FeatureLevel(int index) const {
  if (index < 0 || index >= kFeatureCount) return 0;
  const bool inBlock4 = index >= 96;
  // Without the flag, block 4's first bytes are no levels: the register has none above 95.
  if (inBlock4 && !(Byte(Area::Block3, kFeatureFlagsOffset) & 1)) return 0;
  const int entry = inBlock4 ? index - 96 : index;
  const std::uint8_t byte = inBlock4 ? Byte(Area::Block4, kFeatureBytesBlock4 + entry / 4)
                                     : Byte(Area::Block3, kFeatureBytesBlock3 + entry / 4);
  return (byte >> (6 - 2 * (entry % 4))) & 3;
}

bool RegisterConfig::SetFeatureLevel(int index, int level) {
  if (index < 0 || index >= kFeatureCount || level < 0 || level > 3) return false;
  const bool inBlock4 = index >= 96;
  const int entry = inBlock4 ? index - 96 : index;
  const Area area = inBlock4 ? Area::Block4 : Area::Block3;
  const int offset = (inBlock4 ? kFeatureBytesBlock4 : kFeatureBytesBlock3) + entry / 4;
  const int shift = 6 - 2 * (entry % 4);
  std::uint8_t byte = Byte(area, offset);
  byte = static_cast<std::uint8_t>((byte & ~(3 << shift)) | (level << shift));
  SetNumber(area, offset, 1, byte);
  if (inBlock4) SetNumber(Area::Block3, kFeatureFlagsOffset, 1, Byte(Area::Block3, kFeatureFlagsOffset) | 1);
  return true;
}

}  // namespace ecrsim
