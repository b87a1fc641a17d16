#include "link/key_batch.h"

#include <algorithm>

#include "link/frame_exchange.h"

namespace quadrel {

void KeyRecordQueue::Clear() {
  count_ = 0;
  writeLength_ = 0;
  overflowed_ = false;
}

bool KeyRecordQueue::Append(std::uint8_t byte) {
  if (count_ >= kMaxKeyRecords || writeLength_ >= static_cast<std::int32_t>(kMaxKeyRecordLength)) {
    overflowed_ = true;
    return false;
  }
  records_[static_cast<std::size_t>(count_)].data[static_cast<std::size_t>(writeLength_++)] = byte;
  return true;
}

bool KeyRecordQueue::Append(std::span<const std::uint8_t> bytes) {
  for (std::uint8_t byte : bytes) {
    if (!Append(byte)) return false;
  }
  return true;
}

bool KeyRecordQueue::Append(std::string_view bytes) {
  for (char byte : bytes) {
    if (!Append(static_cast<std::uint8_t>(byte))) return false;
  }
  return true;
}

int KeyRecordQueue::EndKeyRecord() {
  if (count_ >= kMaxKeyRecords) overflowed_ = true;
  if (overflowed_) return kResultInternalError;
  records_[static_cast<std::size_t>(count_)].length = writeLength_;
  ++count_;
  writeLength_ = 0;
  return 0;
}

int KeyRecordQueue::EndKeyRecordRepeat(int pos) {
  if (count_ >= kMaxKeyRecords) overflowed_ = true;
  if (overflowed_) return kResultInternalError;
  if (count_ > 0 && pos >= 0 && pos < writeLength_) {
    KeyRecord& previous = records_[static_cast<std::size_t>(count_ - 1)];
    const KeyRecord& current = records_[static_cast<std::size_t>(count_)];
    const auto end = static_cast<std::size_t>(writeLength_);
    const auto at = static_cast<std::size_t>(pos);
    const bool repeats =
        previous.length == writeLength_ && previous.data[at] < 255 &&
        std::equal(previous.data.begin(), previous.data.begin() + at, current.data.begin()) &&
        std::equal(previous.data.begin() + at + 1, previous.data.begin() + end,
                   current.data.begin() + at + 1);
    if (repeats) {
      ++previous.data[at];
      writeLength_ = 0;
      return 0;
    }
  }
  return EndKeyRecord();
}

std::span<const std::uint8_t> KeyRecordQueue::Pending() const {
  if (count_ >= kMaxKeyRecords) return {};
  return {records_[static_cast<std::size_t>(count_)].data.data(), static_cast<std::size_t>(writeLength_)};
}

KeyRecordQueue& KeyBatch() {
  static KeyRecordQueue queue;
  return queue;
}

}  // namespace quadrel
