// Whole table records read from the register for the handlers that walk a
// table: from the 16-bit memory by address or by record number, or behind
// the 'U' 0 0x20 information frame. A record is kept as read; bytes past its
// end read as 0, so a short configuration never reads outside it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace quadrel {

class RecordData {
 public:
  std::uint8_t Byte(int offset) const;
  // `count` bytes from `offset`, cut at the end of the record.
  std::span<const std::uint8_t> Bytes(int offset, int count) const;
  std::vector<std::uint8_t>& Raw() { return bytes_; }

 private:
  std::vector<std::uint8_t> bytes_;
};

// `length` bytes from `address`, in as many 'D' reads as a length byte
// allows. False with `error` set when a read fails.
bool ReadRecordAt(int address, int length, RecordData& record, int& error);
// The first `length` bytes of record `number` of a register that addresses
// its tables by record number (5-byte 'D' with the selector 0xF0). One frame
// asks for at most 255 bytes: a longer `length` gives false with `error` 31.
bool ReadRecordNumber(int number, int length, RecordData& record, int& error);
// Record `number` behind 'U' 0 0x20 `selector`: the bytes after the status byte.
bool ReadInfoRecord(std::uint8_t selector, int number, RecordData& record, int& error);
// Entry `entry` of block `block` of a register that addresses its totals by
// record (5-byte 'D' with the selector 0xF1); at most 255 bytes, as above.
bool ReadBlockEntry(int block, int entry, int length, RecordData& record, int& error);
// The 16 bytes at `address` of the register's whole memory ('U' 0 14 and the
// address in three bytes, low first): the bytes after the answer's first two.
constexpr int kMemoryImageBlockBytes = 16;
bool ReadMemoryImageBlock(std::uint32_t address, RecordData& record, int& error);
// A record requested with `frame` whose answer byte 1 is a status (0: the
// record follows): the `length` bytes from answer byte 2. A status other than
// 0 gives false with `status` set and `error` 0.
bool ReadStatusRecord(std::span<const std::uint8_t> frame, int length, RecordData& record, int& status, int& error);

}  // namespace quadrel
