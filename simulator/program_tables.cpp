#include "program_tables.h"

#include "option_table.h"

namespace ecrsim {
namespace {

constexpr std::uint8_t kConfirmKey = 145;
constexpr std::uint8_t kEndKey = 146;
constexpr std::uint8_t kTableKey = 147;
constexpr int kHeaderTable = 4;
// The header lines, the two modifier tables and the options hold one record: their fields follow the table.
bool HasRecordNumbers(int table) { return table != kHeaderTable && table != 5 && table != 6 && table != kOptionTable; }
// Table 251 is chosen without 147, has one record of five fields and ends by itself.
constexpr int kShortTable = 251;
constexpr std::size_t kShortTableFields = 5;
constexpr int kNineDigitBytes = 9;

// Where the host's configuration read finds the header lines: block 1 words
// 9 and 11 (address, line size), block 4 byte 39 (count), identity byte 48
// (the nine-digit line, after the header lines).
constexpr int kHeaderAddressWord = 9;
constexpr int kHeaderLineBytesWord = 11;
constexpr int kHeaderCountByte = 39;
constexpr int kNineDigitFlagByte = 48;
// Table 15: block 1 words 17 and 19 (address, record size). A record holds
// its number, the sixth field, the fourth, then the text up to the amount.
constexpr int kTable15 = 15;
constexpr int kTable15AddressWord = 17;
constexpr int kTable15RecordBytesWord = 19;
constexpr int kAmountBytesByte = 35;  // block 4
constexpr int kTable15TailBytes = 2;  // the number after the amount
constexpr int kTable15TextOffset = 3;
constexpr int kTable15CountByte = 58;    // block 4: the records in memory
constexpr int kExtensionCountWord = 16;  // 'U' 0 31: the records behind 'U' 0 0x20 4
constexpr int kTable15ExtensionSelector = 4;

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
  if (table_ == kHeaderTable) PlaceHeaderLines(records_[{table_, record_}]);
  if (table_ == kTable15) PlaceTable15(records_[{table_, record_}]);
  if (table_ == kOptionTable) PlaceOptions(config_, records_[{table_, record_}], memory_);
  step_ = Step::Function;
}

void ProgramTables::Reset() {
  step_ = Step::Function;
  endedInRecord_ = false;
}

// Table 4 keys the nine-digit line first (where the register has it), then the header lines.
void ProgramTables::PlaceHeaderLines(const std::vector<std::string>& fields) {
  const int base = config_.Word(Area::Block1, kHeaderAddressWord);
  const int lineBytes = config_.Word(Area::Block1, kHeaderLineBytesWord);
  const int count = config_.Byte(Area::Block4, kHeaderCountByte);
  const bool nineDigits = config_.Byte(Area::Identity, kNineDigitFlagByte) != 0;
  auto field = [&](std::size_t index) { return index < fields.size() ? fields[index] : std::string(); };
  const std::size_t first = nineDigits ? 1 : 0;
  if (nineDigits) PlaceText(base + count * lineBytes, kNineDigitBytes, field(0));
  for (int line = 0; line < count; ++line)
    PlaceText(base + line * lineBytes, lineBytes, field(first + static_cast<std::size_t>(line)));
}

// Keyed: number, text, fourth, amount, sixth; a record cleared (number 0) keys the number alone.
void ProgramTables::PlaceTable15(const std::vector<std::string>& fields) {
  const int recordBytes = config_.Word(Area::Block1, kTable15RecordBytesWord);
  const int textBytes =
      recordBytes - kTable15TextOffset - config_.Byte(Area::Block4, kAmountBytesByte) - kTable15TailBytes;
  auto byteOf = [&](std::size_t index, int offset) {
    const int value = index < fields.size() ? Number(fields[index]) : -1;
    if (value >= 0) Table15Byte(offset) = static_cast<std::uint8_t>(value);
  };
  byteOf(0, 0);
  byteOf(4, 1);
  byteOf(2, 2);
  if (fields.size() < 2 || fields[1].empty()) return;
  for (int i = 0; i < textBytes; ++i)
    Table15Byte(kTable15TextOffset + i) =
        static_cast<std::uint8_t>(i < static_cast<int>(fields[1].size()) ? fields[1][static_cast<std::size_t>(i)] : ' ');
}

std::uint8_t& ProgramTables::Table15Byte(int offset) {
  const int inMemory = config_.Byte(Area::Block4, kTable15CountByte);
  const int recordBytes = config_.Word(Area::Block1, kTable15RecordBytesWord);
  if (record_ > inMemory) {
    std::vector<std::uint8_t>& record = extension15_[record_ - inMemory];
    record.resize(static_cast<std::size_t>(recordBytes));
    return record[static_cast<std::size_t>(offset)];
  }
  const int address = config_.Word(Area::Block1, kTable15AddressWord) + (record_ - 1) * recordBytes;
  return memory_[static_cast<std::uint32_t>(address + offset)];
}

std::optional<std::vector<std::uint8_t>> ProgramTables::ExtensionRecord(int selector, int number) const {
  if (selector != kTable15ExtensionSelector || number < 1 ||
      number > config_.Word(Area::Ext31, kExtensionCountWord))
    return std::nullopt;
  const auto found = extension15_.find(number);
  if (found != extension15_.end()) return found->second;
  return std::vector<std::uint8_t>(config_.Word(Area::Block1, kTable15RecordBytesWord), 0);
}

void ProgramTables::PlaceText(int address, int width, const std::string& text) {
  if (text.empty()) return;
  for (int i = 0; i < width; ++i)
    memory_[static_cast<std::uint32_t>(address + i)] =
        static_cast<std::uint8_t>(i < static_cast<int>(text.size()) ? text[static_cast<std::size_t>(i)] : ' ');
}

const std::vector<std::string>* ProgramTables::Fields(int table, int record) const {
  const auto found = records_.find({table, record});
  return found == records_.end() ? nullptr : &found->second;
}

void ProgramTables::Overlay(std::uint32_t address, std::span<std::uint8_t> bytes) const {
  for (auto it = memory_.lower_bound(address); it != memory_.end() && it->first < address + bytes.size(); ++it)
    bytes[it->first - address] = it->second;
}

}  // namespace ecrsim
