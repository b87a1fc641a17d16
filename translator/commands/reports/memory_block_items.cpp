// Items read from the register's memory blocks: the block at the address the
// configuration names for these counters (A11), and the 64-byte block at the
// first area address.
#include <array>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <span>
#include <string>

#include "commands/reports/identity_block.h"
#include "commands/reports/info_items.h"
#include "commands/reports/info_text.h"
#include "language/result_codes.h"
#include "link/frame_exchange.h"
#include "link/register_link.h"
#include "state/ecr_config.h"

namespace quadrel {
namespace {

constexpr int kModel2A11Offset = 147;
constexpr int kAreaBlockBytes = 64;
constexpr int kIdentityKindOffset = 1;   // identity block: the kind of the register's journal memory
constexpr int kIdentityKindCounted = 4;  // ... that keeps a numbered counter (item 10)
constexpr int kIdentityCountOffset = 22;

bool IsModel(const EcrConfigRecord& r, char model) {
  return r.ModelLetter == model;
}

// Where the counter blocks lie; 0 when the register has none.
int A11(const EcrConfigRecord& r) {
  return IsModel(r, '2') ? r.AreaAddress[0] + kModel2A11Offset : r.Block3Word81;
}

// `length` bytes of memory; the answer's byte n is the block's byte n (from 1).
std::optional<std::span<const std::uint8_t>> ReadBlock(int address, int length) {
  int error = 0;
  if (address == 0 ||
      !ReadEcrMemory(static_cast<std::uint16_t>(address), static_cast<std::uint8_t>(length), error))
    return std::nullopt;
  return std::span<const std::uint8_t>(FrameBuffer().data).subspan(0, 1 + length);
}

// Hex of bytes first..first+count-1 of a block at `address`, as a field; empty when unreadable.
std::string BlockHex(int address, int length, int first, int count) {
  const auto block = ReadBlock(address, length);
  return block ? InfoText().Hex(block->subspan(first, count)).Finish() : std::string();
}

// The counter of the 2-byte block at A11, its BCD digits read as a decimal number.
std::optional<int> CounterNumber(const EcrConfigRecord& r) {
  const auto block = ReadBlock(A11(r), 2);
  if (!block) return std::nullopt;
  return ((*block)[1] >> 4) * 1000 + ((*block)[1] & 15) * 100 + ((*block)[2] >> 4) * 10 + ((*block)[2] & 15);
}

std::string NumberedCounterText(const EcrConfigRecord& r) {
  InfoText text;
  const auto identity = ReadIdentityBlockOf(r);
  if (identity && (*identity)[kIdentityKindOffset] == kIdentityKindCounted) {
    if (const auto counter = CounterNumber(r)) {
      char digits[16];
      std::snprintf(digits, sizeof digits, "%4.4d", *counter + 1);
      text.Number(digits);
    }
  }
  if (HasGeneralTotalsBlock(r)) {
    const int first = IsModel(r, '2') && r.Version >= 40 ? 9 : 7;
    if (const auto block = ReadBlock(r.AreaAddress[0], kAreaBlockBytes)) text.Hex(block->subspan(first, 2));
  }
  return text.Finish();
}

std::string CounterStampText(const EcrConfigRecord& r) {
  const int length = IsModel(r, '2') && r.Version > 39 ? 10 : 7;
  const auto block = ReadBlock(A11(r), length);
  if (!block) return {};
  const auto& b = *block;
  return StampText({b[3], b[4], b[5], b[length - 1], b[length]});
}

// Items 19 and 20: two bytes of the area block on model '6'; elsewhere the
// identity block's journal kind (19) or its count of written blocks (20).
InfoItem ModelIdentityItem(const EcrConfigRecord& r, bool count) {
  const int first = count ? 11 : 9;
  if (IsModel(r, '6')) {
    if (r.AreaAddress[0] == 0) return {kResultVersionNotSupported, {}};
    return {0, BlockHex(r.AreaAddress[0], kAreaBlockBytes, first, 2)};
  }
  const auto identity = ReadIdentityBlockOf(r);
  if (!identity) return {};
  const int value =
      first == 9 ? (*identity)[kIdentityKindOffset] : IdentityWord(*identity, kIdentityCountOffset);
  return {0, InfoText().Number(value).Finish()};
}

}  // namespace

InfoItem MemoryBlockItem(int item, const EcrConfigRecord& r) {
  const bool hasA11 = A11(r) != 0;
  switch (item) {
    case 10:
      return {0, NumberedCounterText(r)};
    case 11:
      return {0, hasA11 ? BlockHex(A11(r), 2, 1, 2) : ""};
    case 12:
      return {0, hasA11 ? CounterStampText(r) : ""};
    case 16:
      return {0, hasA11 ? BlockHex(A11(r), 13, 6, 6) : ""};
    case 17:
      return {0, hasA11 ? BlockHex(A11(r), 31, 30, 2) : ""};
    case 18: {
      if (!HasGeneralTotalsBlock(r)) return {};
      const auto block = ReadBlock(r.AreaAddress[0], kAreaBlockBytes);
      return {0, block ? ((*block)[1] == 0 ? "1" : "0") : ""};
    }
    case 19:
      return ModelIdentityItem(r, false);
    case 20:
      return ModelIdentityItem(r, true);
    default:
      return {kResultIllegalValue, {}};
  }
}

}  // namespace quadrel
