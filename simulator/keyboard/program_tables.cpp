#include "keyboard/program_tables.h"

#include <algorithm>

#include "config/config_places.h"
#include "keyboard/option_table.h"

namespace ecrsim {
namespace {

constexpr std::uint8_t kConfirmKey = 145;
constexpr std::uint8_t kEndKey = 146;
constexpr std::uint8_t kTableKey = 147;
constexpr int kHeaderTable = 4;
// The header lines, the two modifier tables and the options hold one record:
// their fields follow the table. The VAT table keys one field per rate.
bool HasRecordNumbers(int table) {
  return table != kHeaderTable && table != 5 && table != 6 && table != kOptionTable && table != 3;
}
// Table 251 is chosen without 147, has one record of five fields and ends by itself.
constexpr int kShortTable = 251;
constexpr std::size_t kShortTableFields = 5;
constexpr int kNineDigitBytes = 9;

// Where the host's configuration read finds the header lines: the record
// table (block 3 word 23), block 4 bytes 37 (count) and 33 (line size), and
// identity byte 48 (the nine-digit line, after the header lines).
constexpr int kHeaderAddressWord = 23;
constexpr int kHeaderLineBytesByte = 33;
constexpr int kHeaderCountByte = 37;
constexpr int kVatTable = 3;
// Table 15 keeps its first records in memory (block 4 byte 58 of them) and
// the rest behind 'U' 0 0x20 4 ('U' 0 31 word 48 of them); table 21 keeps all
// of its records ('U' 0 31 word 43) behind 'U' 0 0x20 2.
constexpr int kTable15 = 15;
constexpr int kTable21 = 21;
constexpr int kTable15CountByte = 58;
constexpr int kTable15ExtensionWord = 48;
constexpr int kTable15ExtensionSelector = 4;
constexpr int kTable21Selector = 2;

int Number(const std::string& digits) {
  int value = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') return -1;
    if (value > 99999) return -1;
    value = value * 10 + (c - '0');
  }
  return digits.empty() ? -1 : value;
}

}  // namespace

bool ProgramTables::Key(std::uint8_t key, const std::string& entry, const std::optional<std::string>& text,
                        bool& leave) {
  leave = false;
  switch (key) {
    case kTableKey:
      if (step_ == Step::Fields) {
        fieldEntry_ = entry;
        return true;
      }
      if (step_ != Step::Function || Number(entry) < 0) return false;
      tableEntry_ = entry;
      step_ = Step::TableNumber;
      return true;
    case kConfirmKey:
      return Confirm(entry, text);
    case kEndKey:
      if (step_ == Step::Fields) {
        EndRecord();
        endedInRecord_ = true;
      } else if (step_ == Step::Function && !endedInRecord_) {
        leave = true;
      } else if (step_ != Step::Function) {
        return false;
      }
      step_ = Step::Function;
      return true;
    default:
      return false;
  }
}

bool ProgramTables::Confirm(const std::string& entry, const std::optional<std::string>& text) {
  switch (step_) {
    case Step::Function:
      if (entry.empty()) return true;  // nothing waits for it
      if (Number(entry) != kShortTable) return false;
      table_ = kShortTable;
      record_ = 1;
      field_ = 0;
      step_ = Step::Fields;
      return true;
    case Step::TableNumber:
      table_ = Number(tableEntry_);
      record_ = 1;
      field_ = 0;
      step_ = HasRecordNumbers(table_) ? Step::Table : Step::Fields;
      // Which option a field is depends on the fields before it: each keying starts afresh.
      if (table_ == kOptionTable) records_[{table_, record_}].clear();
      return true;
    case Step::Table:
      record_ = Number(entry);
      if (record_ < 0) return false;
      field_ = 0;
      step_ = Step::Fields;
      return true;
    case Step::Fields:
      break;
  }
  std::vector<std::string>& fields = records_[{table_, record_}];
  if (fields.size() <= field_) fields.resize(field_ + 1);
  if (text) {
    fields[field_] = *text;
  } else if (!entry.empty() || !fieldEntry_.empty()) {
    fields[field_] = entry.empty() ? fieldEntry_ : entry;
  }
  fieldEntry_.clear();
  ++field_;
  if (table_ == kShortTable && field_ == kShortTableFields) EndRecord();
  return true;
}

void ProgramTables::EndRecord() {
  const std::vector<std::string>& fields = records_[{table_, record_}];
  if (table_ == kHeaderTable) PlaceHeaderLines(fields);
  if (table_ == kVatTable) PlaceVatRates(fields);
  if (table_ == kOptionTable) PlaceOptions(config_, fields, memory_);
  if (const auto image = ImageOf(config_, table_))
    EncodeRecord(config_, *image, fields,
                 [&](int offset) -> std::uint8_t& { return RecordByte(*image, offset); });
  step_ = Step::Function;
}

void ProgramTables::Reset() {
  step_ = Step::Function;
  endedInRecord_ = false;
}

// Table 4 keys the nine-digit line first (where the register has it), then the header lines.
void ProgramTables::PlaceHeaderLines(const std::vector<std::string>& fields) {
  const int base = config_.Word(Area::Block3, kHeaderAddressWord);
  const int lineBytes = config_.Byte(Area::Block4, kHeaderLineBytesByte);
  const int count = config_.Byte(Area::Block4, kHeaderCountByte);
  const bool nineDigits = config_.Byte(Area::Identity, kNineDigitFlagByte) != 0;
  auto field = [&](std::size_t index) { return index < fields.size() ? fields[index] : std::string(); };
  const std::size_t first = nineDigits ? 1 : 0;
  if (nineDigits) PlaceText(base + count * lineBytes, kNineDigitBytes, field(0));
  for (int line = 0; line < count; ++line)
    PlaceText(base + line * lineBytes, lineBytes, field(first + static_cast<std::size_t>(line)));
}

void ProgramTables::PlaceVatRates(const std::vector<std::string>& fields) {
  for (std::size_t i = 0; i < fields.size(); ++i) {
    const auto bytes = fields[i].empty() ? std::nullopt : VatRateBytes(fields[i]);
    if (!bytes) continue;
    const int address = VatRateAddress(config_, static_cast<int>(i) + 1);
    for (std::size_t b = 0; b < bytes->size(); ++b)
      memory_[static_cast<std::uint32_t>(address) + b] = (*bytes)[b];
  }
}

// A record in memory, or one behind the information frame.
std::uint8_t& ProgramTables::RecordByte(const TableImage& image, int offset) {
  const int inMemory = table_ == kTable21   ? 0
                       : table_ == kTable15 ? config_.Byte(Area::Block4, kTable15CountByte)
                                            : record_;
  if (record_ > inMemory) {
    std::vector<std::uint8_t>& record = infoRecords_[{table_, record_ - inMemory}];
    record.resize(std::max<std::size_t>(record.size(),
                                        static_cast<std::size_t>(std::max(image.recordBytes, offset + 1))));
    return record[static_cast<std::size_t>(offset)];
  }
  return memory_[static_cast<std::uint32_t>(image.base + (record_ - 1) * image.recordBytes + offset)];
}

std::optional<std::vector<std::uint8_t>> ProgramTables::ExtensionRecord(int selector, int number) const {
  const int table = selector == kTable15ExtensionSelector ? kTable15
                    : selector == kTable21Selector        ? kTable21
                                                          : 0;
  const int count = table == kTable15   ? config_.Word(Area::Ext31, kTable15ExtensionWord)
                    : table == kTable21 ? config_.Word(Area::Ext31, kTable21CountWord)
                                        : 0;
  if (number < 1 || number > count) return std::nullopt;
  const auto found = infoRecords_.find({table, number});
  if (found != infoRecords_.end()) return found->second;
  return std::vector<std::uint8_t>(static_cast<std::size_t>(ImageOf(config_, table)->recordBytes), 0);
}

void ProgramTables::PlaceText(int address, int width, const std::string& text) {
  if (text.empty()) return;
  for (int i = 0; i < width; ++i)
    memory_[static_cast<std::uint32_t>(address + i)] = static_cast<std::uint8_t>(
        i < static_cast<int>(text.size()) ? text[static_cast<std::size_t>(i)] : ' ');
}

const std::vector<std::string>* ProgramTables::Fields(int table, int record) const {
  const auto found = records_.find({table, record});
  return found == records_.end() ? nullptr : &found->second;
}

void ProgramTables::Overlay(std::uint32_t address, std::span<std::uint8_t> bytes) const {
  for (auto it = memory_.lower_bound(address); it != memory_.end() && it->first < address + bytes.size();
       ++it)
    bytes[it->first - address] = it->second;
}

}  // namespace ecrsim
