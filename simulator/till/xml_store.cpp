#include "till/xml_store.h"

namespace ecrsim {
namespace {

constexpr std::uint8_t kSignature[4] = {0x55, 0xAA, 0x5A, 0xA5};
constexpr std::uint32_t kOldestOffset = 4;
constexpr std::uint32_t kTotalsLengthOffset = 36;
constexpr std::uint32_t kOutcomeLengthOffset = 544;
constexpr std::uint32_t kTotalsOffset = 2048;
constexpr std::uint32_t kTotalsRoom = 8192;
constexpr std::uint32_t kOutcomeOffset = 10240;
constexpr std::uint32_t kOutcomeRoom = 6144;

std::uint32_t Stored(const std::string& text, std::uint32_t room) {
  return text.size() < room ? static_cast<std::uint32_t>(text.size()) : room;
}

std::optional<std::uint8_t> WordByte(std::uint32_t offset, std::uint32_t at, std::uint32_t value) {
  if (offset == at) return static_cast<std::uint8_t>(value);
  if (offset == at + 1) return static_cast<std::uint8_t>(value >> 8);
  return std::nullopt;
}

std::optional<std::uint8_t> TextByte(std::uint32_t offset, std::uint32_t at, const std::string& text,
                                     std::uint32_t room) {
  if (offset < at || offset - at >= Stored(text, room)) return std::nullopt;
  return static_cast<std::uint8_t>(text[offset - at]);
}

}  // namespace

void XmlStore::AddDaily(std::uint16_t index, std::string totals) {
  if (Empty()) {
    documents_.clear();
    oldest_ = index;
  }
  documents_.push_back({std::move(totals), {}, std::nullopt});
}

int XmlStore::SendPending() {
  int sent = 0;
  for (std::size_t i = 0; i < documents_.size(); ++i) {
    if (!documents_[i].outcome.empty() || documents_[i].totals.empty()) continue;
    documents_[i].outcome = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Esito><Documento>" +
                            std::to_string(oldest_ + i) + "</Documento><Stato>ACCETTATO</Stato></Esito>\n";
    ++sent;
  }
  return sent;
}

std::optional<std::uint8_t> XmlStore::Byte(std::uint32_t address) const {
  if (Empty() || address / kXmlStoreBlockBytes >= documents_.size()) return std::nullopt;
  const XmlDocument& document = documents_[address / kXmlStoreBlockBytes];
  const std::uint32_t offset = address % kXmlStoreBlockBytes;
  if (offset < sizeof kSignature) return kSignature[offset];
  const std::uint32_t totalsLength =
      document.totalsLengthOverride.value_or(Stored(document.totals, kTotalsRoom));
  for (const auto& byte :
       {address < kXmlStoreBlockBytes ? WordByte(offset, kOldestOffset, oldest_) : std::nullopt,
        WordByte(offset, kTotalsLengthOffset, totalsLength),
        WordByte(offset, kOutcomeLengthOffset, Stored(document.outcome, kOutcomeRoom)),
        TextByte(offset, kTotalsOffset, document.totals, kTotalsRoom),
        TextByte(offset, kOutcomeOffset, document.outcome, kOutcomeRoom)}) {
    if (byte) return byte;
  }
  return 0;
}

}  // namespace ecrsim
