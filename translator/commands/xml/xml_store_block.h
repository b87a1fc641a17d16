// One 16 KB block of the register's XML document store: its signature, the
// oldest index of the header block, and the two documents it holds.
#pragma once

#include <array>
#include <cstdint>
#include <span>

namespace quadrel {

constexpr std::size_t kXmlBlockBytes = 16384;
using XmlStoreBlock = std::array<std::uint8_t, kXmlBlockBytes>;

bool HasXmlSignature(const XmlStoreBlock& block);
// The header's index of the oldest stored document; 0: nothing stored.
int OldestXmlIndex(const XmlStoreBlock& header);

// The daily-totals and outcome texts of a block (empty: none). False when a
// stored length runs past its area: the block cannot be trusted.
struct XmlDocuments {
  std::span<const std::uint8_t> totals;
  std::span<const std::uint8_t> outcome;
};
bool XmlBlockDocuments(const XmlStoreBlock& block, XmlDocuments& documents);

}  // namespace quadrel
