#include "commands/xml/xml_store_block.h"

#include <algorithm>

namespace quadrel {
namespace {

constexpr std::array<std::uint8_t, 4> kSignature = {0x55, 0xAA, 0x5A, 0xA5};
constexpr std::size_t kOldestIndexOffset = 4;
constexpr std::size_t kTotalsLengthOffset = 36;
constexpr std::size_t kOutcomeLengthOffset = 544;
constexpr std::size_t kTotalsOffset = 2048;
constexpr std::size_t kTotalsRoom = 8192;
constexpr std::size_t kOutcomeOffset = 10240;
constexpr std::size_t kOutcomeRoom = 6144;

std::size_t Word(const XmlStoreBlock& block, std::size_t offset) {
  return block[offset] | static_cast<std::size_t>(block[offset + 1]) << 8;
}

bool Area(const XmlStoreBlock& block, std::size_t lengthOffset, std::size_t offset, std::size_t room,
          std::span<const std::uint8_t>& text) {
  const std::size_t length = Word(block, lengthOffset);
  if (length > room) return false;
  text = std::span(block).subspan(offset, length);
  return true;
}

}  // namespace

bool HasXmlSignature(const XmlStoreBlock& block) {
  return std::equal(kSignature.begin(), kSignature.end(), block.begin());
}

int OldestXmlIndex(const XmlStoreBlock& header) {
  return static_cast<int>(Word(header, kOldestIndexOffset));
}

bool XmlBlockDocuments(const XmlStoreBlock& block, XmlDocuments& documents) {
  return Area(block, kTotalsLengthOffset, kTotalsOffset, kTotalsRoom, documents.totals) &&
         Area(block, kOutcomeLengthOffset, kOutcomeOffset, kOutcomeRoom, documents.outcome);
}

}  // namespace quadrel
