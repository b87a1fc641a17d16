#include "key_records.h"

#include <string>

#include "language/number_helpers.h"
#include "language/result_codes.h"
#include "link/frame_exchange.h"
#include "link/key_batch.h"
#include "text/code_page.h"

namespace quadrel {
namespace {

constexpr std::uint8_t kKeyDescription = 42;
constexpr std::uint8_t kKeyConfirm = 145;
constexpr std::uint8_t kKeyPositionKey = 14;

}  // namespace

bool PutTextFieldN(std::string& dst, std::string_view bytes) {
  if (bytes.size() > kMaxTextFieldBytes) return false;
  dst.push_back(static_cast<char>(kKeyText));
  dst.push_back(static_cast<char>(bytes.size()));
  dst.append(bytes);
  return true;
}

bool PutTextField(std::string& dst, std::string_view text) {
  return PutTextFieldN(dst, PcToEcrText(text));
}

KeyRecords& KeyRecords::Record() {
  records_.emplace_back(1, static_cast<char>(kKeyFrameLetter));
  return *this;
}

std::string& KeyRecords::Current() {
  if (records_.empty()) Record();
  return records_.back();
}

KeyRecords& KeyRecords::Key(std::uint8_t code) {
  Current().push_back(static_cast<char>(code));
  return *this;
}

KeyRecords& KeyRecords::Digits(std::string_view number) {
  DigitsToKeys(Current(), number);
  return *this;
}

KeyRecords& KeyRecords::Text(std::string_view pcText) {
  textTooLong_ |= !PutTextField(Current(), pcText);
  return *this;
}

KeyRecords& KeyRecords::TextBytes(std::string_view ecrBytes) {
  textTooLong_ |= !PutTextFieldN(Current(), ecrBytes);
  return *this;
}

KeyRecords& KeyRecords::Description(std::string_view pcText) {
  return Key(kKeyDescription).Text(pcText).Key(kKeyConfirm);
}

KeyRecords& KeyRecords::KeyPosition(int position) {
  return Record().Key(0).Key(0).Digits(std::to_string(position)).Key(kKeyPositionKey);
}

KeyRecords& KeyRecords::ConfirmedNumber(std::string_view number) {
  return Record().Digits(number).Key(kKeyConfirm);
}

int KeyRecords::Queue() const {
  KeyRecordQueue& batch = KeyBatch();
  if (textTooLong_ || batch.Overflowed() || !batch.Pending().empty() ||
      records_.size() > static_cast<std::size_t>(kMaxKeyRecords - batch.Count()))
    return kResultInternalError;
  for (const std::string& record : records_)
    if (record.size() > kMaxKeyRecordLength) return kResultInternalError;
  for (const std::string& record : records_) {
    batch.Append(record);
    if (const int closed = batch.EndKeyRecord(); closed != 0) return closed;
  }
  return 0;
}

}  // namespace quadrel
