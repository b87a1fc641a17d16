// The register's memory as the host reads it: 'D' reads by address, record
// number or block entry, the memory image, the table records behind the
// information frames, and the VAT totals brought up to date from it.
#include <optional>

#include "config/bcd_digits.h"
#include "config/config_places.h"
#include "config/memory_image.h"
#include "config/table_images.h"
#include "sim_register.h"
#include "till/sales_totals.h"
#include "wire/wire.h"

namespace ecrsim {

Reply SimRegister::MemoryRead(std::span<const std::uint8_t> frame) {
  constexpr std::uint8_t kRecordNumberSelector = 0xF0;
  constexpr std::uint8_t kBlockEntrySelector = 0xF1;
  const std::uint8_t selector = frame.size() == 5 ? frame[4] : 0;
  if (frame.size() != 4 && selector != kRecordNumberSelector && selector != kBlockEntrySelector)
    return Refuse('D', kRefuseUnknownFrame);
  const std::uint32_t word = frame[1] | (frame[2] << 8);
  const std::optional<std::uint32_t> address =
      selector == kRecordNumberSelector ? Table2RecordAddress(config_, static_cast<int>(word))
      : selector == kBlockEntrySelector ? BlockEntryAddress(config_, frame[1], frame[2])
                                        : std::optional(word);
  const std::uint32_t length = frame[3];
  if (!address || *address + length > kMemoryBytes) return Refuse('D', kRefuseBadAddress);
  Reply reply;
  reply.answer.push_back('D');
  AppendMemory(*address, length, reply.answer);
  return reply;
}

// The bytes of the 16-bit memory as the host reads them: the configuration's
// blocks, the bytes tests placed, the programming tables.
void SimRegister::AppendMemory(std::uint32_t address, std::uint32_t length, std::vector<std::uint8_t>& out) {
  if (memoryStale_) {
    memory_ = ComposeMemory(config_);
    memoryStale_ = false;
  }
  const std::size_t first = out.size();
  for (std::uint32_t i = address; i < address + length; ++i)
    out.push_back(placedMemory.ByteAt(i).value_or(memory_[i]));
  keyboard.tables.Overlay(address, std::span(out).subspan(first));
  keyboard.till.totals.Overlay(config_, journal.closure - 1, address, std::span(out).subspan(first));
  keyboard.till.OverlayReceiptCounter(config_, address, std::span(out).subspan(first));
}

// A department's sales count at the VAT rate its record names.
int SimRegister::DepartmentVatIndex(int department) {
  std::vector<std::uint8_t> rate;
  if (const std::uint32_t at = DepartmentVatAddress(config_, department); at < kMemoryBytes)
    AppendMemory(at, 1, rate);
  return rate.empty() ? 0 : rate[0];
}

// 'C' 13 0 on model M: each VAT record's net and tax brought up to date with
// its gross at the rate the record holds.
Reply SimRegister::VatTotalsUpdate() {
  const std::uint32_t base = config_.Word(Area::Block1, kVatWord);
  const std::uint32_t bytes = config_.Word(Area::Block1, kVatWord + 2);
  for (int index = 0; index <= config_.Byte(Area::Block4, kVatRatesByte); ++index) {
    std::vector<std::uint8_t> rate;
    if (const std::uint32_t at = base + static_cast<std::uint32_t>(index) * bytes; at + 2 <= kMemoryBytes)
      AppendMemory(at, 2, rate);
    if (const auto value = rate.empty() ? std::nullopt : UnpackBcd(rate))
      keyboard.till.totals.SplitVat(index, *value);
  }
  Reply reply;
  reply.answer = {'C', 0};
  return reply;
}

// 'C' 17 n on model 6 with its extension: answer byte 1 is 0 for a record it does not hold.
Reply SimRegister::Table31Record(std::uint8_t number) const {
  Reply reply;
  reply.answer = {'C', 0};
  if (const auto record = table31.find(number); record != table31.end()) {
    reply.answer[1] = 1;
    reply.answer.insert(reply.answer.end(), record->second.begin(), record->second.end());
  }
  return reply;
}

// 'U' 0 14 and a 24-bit address (low byte first): 16 bytes of the whole
// memory, the 16-bit memory at its start and the 32-bit space's bytes above.
Reply SimRegister::MemoryImage(std::span<const std::uint8_t> frame) {
  const std::uint32_t address = frame[3] | frame[4] << 8 | frame[5] << 16;
  if (address + kMemoryImageBlock > kMemoryImageBytes) return Refuse('U', kRefuseBadAddress);
  Reply reply;
  reply.answer = {'U', 0};
  if (address < kMemoryBytes) {
    AppendMemory(address, kMemoryImageBlock, reply.answer);
  } else {
    for (std::uint32_t i = address; i < address + kMemoryImageBlock; ++i)
      reply.answer.push_back(placedExtendedMemory.ByteAt(i).value_or(ExtendedMemoryByte(i)));
  }
  return reply;
}

// 'U' 0 0x20 selector and a record number (low byte first): a table record
// kept behind the information frames, answered after a status byte. A record
// that a frame cannot hold (a configuration whose record width is out of all
// measure) is refused like a missing one.
Reply SimRegister::TableRecord(std::span<const std::uint8_t> frame) {
  auto record = keyboard.tables.ExtensionRecord(frame[3], frame[4] | (frame[5] << 8));
  if (record && record->size() + 2 > ecrwire::kMaxPayload) record.reset();
  Reply reply;
  reply.answer = {'U', static_cast<std::uint8_t>(record ? 0 : kRefuseBadAddress)};
  if (record) reply.answer.insert(reply.answer.end(), record->begin(), record->end());
  return reply;
}

}  // namespace ecrsim
