#include "link/record_reads.h"

#include <algorithm>

#include "language/result_codes.h"
#include "link/frame_exchange.h"
#include "link/register_link.h"

namespace quadrel {
namespace {

constexpr int kMaxReadBytes = 255;  // the length of a 'D' read is one byte
constexpr std::uint8_t kRecordNumberSelector = 0xF0;
constexpr std::uint8_t kBlockEntrySelector = 0xF1;
constexpr std::uint8_t kMemoryImageRequest = 14;
constexpr int kInfoRecordFirstByte = 2;  // after the letter and the status byte

void AppendAnswer(RecordData& record, int first, int count) {
  const auto& data = FrameBuffer().data;
  record.Raw().insert(record.Raw().end(), data.begin() + first, data.begin() + first + count);
}

// A record read by number or entry comes in one answer: more than its
// length byte can ask for is refused rather than cut.
bool FitsOneRead(int length, int& error) {
  if (length >= 0 && length <= kMaxReadBytes) return true;
  error = kResultInternalError;
  return false;
}

}  // namespace

std::uint8_t RecordData::Byte(int offset) const {
  return offset >= 0 && static_cast<std::size_t>(offset) < bytes_.size() ? bytes_[static_cast<std::size_t>(offset)] : 0;
}

std::span<const std::uint8_t> RecordData::Bytes(int offset, int count) const {
  const std::size_t size = bytes_.size();
  const std::size_t from = std::min(size, static_cast<std::size_t>(std::max(offset, 0)));
  const std::size_t length = std::min(size - from, static_cast<std::size_t>(std::max(count, 0)));
  return std::span<const std::uint8_t>(bytes_).subspan(from, length);
}

bool ReadRecordAt(int address, int length, RecordData& record, int& error) {
  record.Raw().clear();
  for (int done = 0; done < length;) {
    const int part = std::min(length - done, kMaxReadBytes);
    if (!ReadEcrMemory(static_cast<std::uint16_t>(address + done), static_cast<std::uint8_t>(part), error))
      return false;
    AppendAnswer(record, 1, part);
    done += part;
  }
  return true;
}

bool ReadRecordNumber(int number, int length, RecordData& record, int& error) {
  record.Raw().clear();
  if (!FitsOneRead(length, error)) return false;
  if (!ReadEcrMemoryExt(static_cast<std::uint16_t>(number), static_cast<std::uint8_t>(length), kRecordNumberSelector,
                        error))
    return false;
  AppendAnswer(record, 1, length);
  return true;
}

bool ReadInfoRecord(std::uint8_t selector, int number, RecordData& record, int& error) {
  record.Raw().clear();
  if (!ReadEcrTableRecord(selector, number, error)) return false;
  AppendAnswer(record, kInfoRecordFirstByte, FrameBuffer().length - kInfoRecordFirstByte);
  return true;
}

bool ReadBlockEntry(int block, int entry, int length, RecordData& record, int& error) {
  record.Raw().clear();
  if (!FitsOneRead(length, error)) return false;
  if (!ReadEcrRecordExt(block, entry << 8, static_cast<std::uint8_t>(length), kBlockEntrySelector, error)) return false;
  AppendAnswer(record, 1, length);
  return true;
}

bool ReadMemoryImageBlock(std::uint32_t address, RecordData& record, int& error) {
  const std::uint8_t frame[] = {'U', 0, kMemoryImageRequest, static_cast<std::uint8_t>(address),
                                static_cast<std::uint8_t>(address >> 8), static_cast<std::uint8_t>(address >> 16)};
  int status = 0;
  if (ReadStatusRecord(frame, kMemoryImageBlockBytes, record, status, error)) return true;
  if (error == 0) error = kClassTransferAnswer | status;
  return false;
}

bool ReadStatusRecord(std::span<const std::uint8_t> frame, int length, RecordData& record, int& status, int& error) {
  record.Raw().clear();
  error = 0;
  status = 0;
  FrameBufferData& buffer = FrameBuffer();
  if (!buffer.Load(frame)) {
    error = kResultInternalError;
    return false;
  }
  if (!SendFrameBuffer(FRAME_PLAIN, error)) return false;
  if (buffer.length >= 2 && buffer.data[1] != 0) {
    status = buffer.data[1];
    return false;
  }
  if (buffer.length < kInfoRecordFirstByte + length) {
    error = kClassAnswerLetter | (buffer.length >= 1 ? buffer.data[0] : 0);
    return false;
  }
  AppendAnswer(record, kInfoRecordFirstByte, length);
  return true;
}

}  // namespace quadrel
