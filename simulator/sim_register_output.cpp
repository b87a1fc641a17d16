// The register's 'O' frames: the identity block, the output settings, the
// printer's and the displays' lines, the direct journal read and the 32-bit memory.
#include <optional>

#include "config/memory_image.h"
#include "printer/print_lines.h"
#include "sim_register.h"

namespace ecrsim {
namespace {

constexpr std::uint8_t kOutputSettingRecord = 14;
constexpr std::uint8_t kOutputBits = 0x07;
constexpr int kFeatureOutputSetting = 103;        // the register takes 'O' 14 records
constexpr int kFeatureJournalRead = 72;           // the register serves the direct journal read
constexpr std::uint8_t kRefuseNoJournalRead = 5;  // the refusal of a register without the read
constexpr std::uint8_t kJournalSelect = 15;       // 'O' 15: a stretch of the journal
constexpr std::uint8_t kJournalNextBlock = 16;    // 'O' 16: its next block
constexpr std::uint8_t kDisplayControl = 10;

}  // namespace

// 'O' 17: identity block; 'O' 20 and a 32-bit address and a length: the 32-bit
// memory, answered with a status byte (0 = data follow) before the data.
Reply SimRegister::OutputFrame(std::span<const std::uint8_t> frame) {
  if (frame.size() == 2 && frame[1] == 17) return AreaAnswer('O', Area::IdentityBlock);
  if (frame.size() >= 2 && frame[1] == kOutputSettingRecord) return OutputSettingRecord(frame);
  if (const std::optional<std::uint8_t> printed = PrintOutputFrame(printer, frame)) {
    if (*printed != 0) return Refuse('O', *printed);
    Reply reply;
    reply.answer = {'O', 0};
    return reply;
  }
  if (frame.size() >= 2 && frame[1] != 20 && frame[1] < kDisplayLineCodes + 1) return DisplayFrame(frame);
  if (frame.size() >= 2 && (frame[1] == kJournalSelect || frame[1] == kJournalNextBlock)) {
    if (config_.FeatureLevel(kFeatureJournalRead) == 0) return Refuse('O', kRefuseNoJournalRead);
    Reply reply;
    reply.answer = frame[1] == kJournalSelect ? journal.Select(frame) : journal.NextBlock();
    return reply;
  }
  if (frame.size() != 7 || frame[1] != 20) return Refuse('O', kRefuseUnknownFrame);
  const std::uint32_t address =
      frame[2] | (frame[3] << 8) | (frame[4] << 16) | (std::uint32_t{frame[5]} << 24);
  const std::uint32_t length = frame[6];
  Reply reply;
  if (address >= kExtendedMemoryBytes || kExtendedMemoryBytes - address < length) {
    reply.answer = {'O', 1};
    return reply;
  }
  reply.answer = {'O', 0};
  for (std::uint32_t i = 0; i < length; ++i)
    reply.answer.push_back(
        xmlStore.Byte(address + i)
            .value_or(placedExtendedMemory.ByteAt(address + i).value_or(ExtendedMemoryByte(address + i))));
  return reply;
}

// 'O' 14 and one byte: the output-setting bits of the programming session,
// taken only by a register that has the function.
Reply SimRegister::OutputSettingRecord(std::span<const std::uint8_t> frame) {
  if (frame.size() != 3 || frame[2] > kOutputBits || config_.FeatureLevel(kFeatureOutputSetting) == 0)
    return Refuse('O', kRefuseUnknownFrame);
  outputBits = frame[2];
  Reply reply;
  reply.answer = {'O', 0};
  return reply;
}

// 'O' and a line code with its text (1, 2, 4, 5, 6, 9), or 'O' 10 and a
// control byte: what the displays show, on a register that has them.
Reply SimRegister::DisplayFrame(std::span<const std::uint8_t> frame) {
  const std::uint8_t code = frame[1];
  const bool line = code == 1 || code == 2 || code == 4 || code == 5 || code == 6 || code == 9;
  if (config_.FeatureLevel(kFeatureDisplay) == 0 ||
      (!line && !(code == kDisplayControl && frame.size() == 3)))
    return Refuse('O', kRefuseUnknownFrame);
  if (line) {
    display[code].assign(frame.begin() + 2, frame.end());
  } else {
    displayControl = frame[2];
  }
  Reply reply;
  reply.answer = {'O', 0};
  return reply;
}

}  // namespace ecrsim
