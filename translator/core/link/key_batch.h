// The queue of key records a handler builds for SendKeyBatch: up to 1000
// register frames of up to 512 bytes, written a byte at a time and closed one
// by one. Writing past either limit is refused, never stored: the queue
// remembers the overflow and SendKeyBatch then sends nothing.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace quadrel {

constexpr int kMaxKeyRecords = 1000;
constexpr std::size_t kMaxKeyRecordLength = 512;

struct KeyRecord {
  std::int32_t length = 0;
  std::array<std::uint8_t, kMaxKeyRecordLength> data{};
};

class KeyRecordQueue {
 public:
  // Empties the queue and forgets an overflow (start of every command line).
  void Clear();

  // Appends to the record being written. False when the record or the queue is full.
  bool Append(std::uint8_t byte);
  bool Append(std::span<const std::uint8_t> bytes);
  bool Append(std::string_view bytes);

  // Closes the record being written. Returns 0, or 31 when the queue overflowed.
  int EndKeyRecord();

  // Closes the record being written, folding it into the previous record when
  // the two differ only at `pos` (the frame's repeat count) and that count is
  // below 255: the previous record's byte at `pos` goes up by one. Returns as
  // EndKeyRecord.
  int EndKeyRecordRepeat(int pos);

  int Count() const { return count_; }
  const KeyRecord& Record(int index) const { return records_[static_cast<std::size_t>(index)]; }
  // Bytes written to the record not yet closed.
  std::span<const std::uint8_t> Pending() const;
  // True when something was refused since the last Clear.
  bool Overflowed() const { return overflowed_; }

 private:
  std::array<KeyRecord, kMaxKeyRecords> records_{};
  int count_ = 0;
  std::int32_t writeLength_ = 0;  // bytes written to records_[count_]
  bool overflowed_ = false;
};

KeyRecordQueue& KeyBatch();

}  // namespace quadrel
