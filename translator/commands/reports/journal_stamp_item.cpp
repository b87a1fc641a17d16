// Item 21: the number of the journal memory's current block and the date and
// time stamped at its head.
#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "commands/reports/identity_block.h"
#include "commands/reports/info_items.h"
#include "commands/reports/info_text.h"
#include "link/register_link.h"
#include "state/ecr_config.h"

namespace quadrel {
namespace {

constexpr int kResultNoJournalStamp = 21;
constexpr int kJournalBlockBytes = 16384;
constexpr int kIdentityBlockCountOffset = 22;  // blocks written; 0: the journal memory is empty
constexpr int kIdentityCurrentBlockOffset = 24;
constexpr int kFirstBlockNumberOffset = 4;  // in the block at address 0: the number of the first block
constexpr std::array<std::uint8_t, 4> kBlockMarker = {0x55, 0xAA, 0x5A, 0xA5};

int Word(const std::vector<std::uint8_t>& block, int offset) {
  return block[offset] | block[offset + 1] << 8;
}

}  // namespace

InfoItem JournalStampItem(const EcrConfigRecord& record) {
  const auto identity = ReadIdentityBlockOf(record);
  if (!identity) return {kResultNoJournalStamp, {}};
  if (IdentityWord(*identity, kIdentityBlockCountOffset) == 0) return {};
  const int current = IdentityWord(*identity, kIdentityCurrentBlockOffset);
  const std::string text = std::to_string(current) + ",";

  std::vector<std::uint8_t> block(kJournalBlockBytes);
  if (!ReadEcrBlock16K(0, block.data())) return {kResultNoJournalStamp, {}};
  const int first = Word(block, kFirstBlockNumberOffset);
  // A current block before the first would lie below address 0.
  if (first == 0 || current < first) return {kResultNoJournalStamp, {}};
  if (!ReadEcrBlock16K(static_cast<std::uint32_t>(current - first) * kJournalBlockBytes, block.data()))
    return {0, text};
  if (!std::equal(kBlockMarker.begin(), kBlockMarker.end(), block.begin()))
    return {kResultNoJournalStamp, {}};
  return {0, text + StampText({block[6], block[7], block[8], block[10], block[11]})};
}

}  // namespace quadrel
