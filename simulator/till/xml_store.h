// The telematic register's store of daily XML documents as the host reads it
// from the 32-bit memory: 16 KB blocks from address 0, the first one also the
// header with the index of the oldest document.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace ecrsim {

constexpr std::uint32_t kXmlStoreBlockBytes = 16384;

struct XmlDocument {
  std::string totals;   // the daily-totals document; empty: none
  std::string outcome;  // the outcome that came back for it; empty: none
  // A length stored in place of the text's own, for a damaged block.
  std::optional<std::uint16_t> totalsLengthOverride;
};

class XmlStore {
 public:
  // The index of the first document added; 0 keeps the store empty.
  void SetOldestIndex(std::uint16_t index) { oldest_ = index; }
  // Texts longer than their area are cut to it.
  void Add(XmlDocument document) { documents_.push_back(std::move(document)); }
  bool Empty() const { return oldest_ == 0 || documents_.empty(); }
  // Files the daily-totals document of closure `index`; an empty store
  // starts at it.
  void AddDaily(std::uint16_t index, std::string totals);
  // The send function: every document without an outcome gets the one the
  // revenue service answers with. Returns how many were sent.
  int SendPending();
  std::uint16_t OldestIndex() const { return oldest_; }
  std::size_t Count() const { return documents_.size(); }

  // The store's byte at `address`; nothing outside the stored blocks.
  std::optional<std::uint8_t> Byte(std::uint32_t address) const;

 private:
  std::uint16_t oldest_ = 0;
  std::vector<XmlDocument> documents_;
};

}  // namespace ecrsim
