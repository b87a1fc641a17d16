#include "link/register_link.h"

#include <algorithm>
#include <array>
#include <initializer_list>

#include "language/message_tables.h"
#include "language/result_codes.h"
#include "language/result_text.h"
#include "link/ecr_readiness.h"
#include "link/frame_exchange.h"
#include "platform/platform.h"
#include "state/ecr_config.h"
#include "state/executor_state.h"
#include "state/library_state.h"

namespace quadrel {
namespace {

constexpr std::uint32_t kPollPauseMs = 50;
constexpr int kReadyAsks = 3;
constexpr int kBatchProgressCounter = 100000;
constexpr std::uint8_t kNoCardInReader = 1;

// Loads `frame` into the FrameBuffer and exchanges it; then, when
// `answerBytes` is given, the answer must hold that many bytes.
bool Exchange(std::initializer_list<std::uint8_t> frame, int& error, int answerBytes = 0) {
  FrameBufferData& buffer = FrameBuffer();
  buffer.Load({frame.begin(), frame.size()});
  if (!SendFrameBuffer(FRAME_PLAIN, error)) return false;
  if (buffer.length < answerBytes) {
    error = kClassAnswerLetter | (buffer.length >= 1 ? buffer.data[0] : 0);
    return false;
  }
  return true;
}

// One pause of a wait loop that began at `start`: the host's messages, 50 ms,
// and the progress callback with `text`. False when the host asks to stop or
// `limitMs` has passed, so a host that cannot abort (no progress callback, or
// one that never sets it) is not held for ever.
bool KeepWaiting(std::uint32_t start, std::uint32_t limitMs, int counter, int textRow) {
  if (platform::TickCount() - start >= limitMs) return false;
  platform::PumpThreadMessages();
  int abort = 0;
  platform::SleepMilliseconds(kPollPauseMs);
  ReportProgress(CurrentEcr(), counter, 0, IntMsgTable().Row(textRow).c_str(), &abort);
  return abort != 1;
}

// Sends 'U' 0 `what` and keeps its time as the transfer's; `answerBytes` as for Exchange.
int XferReset(std::uint8_t what, int answerBytes) {
  const std::uint32_t start = platform::TickCount();
  int error = 0;
  Exchange({'U', 0, what}, error, answerBytes);
  Reply().TransferStats.lines = 0;
  Reply().TransferStats.msec = static_cast<int>(platform::TickCount() - start);
  return error;
}

}  // namespace

bool SendFrame1(std::uint8_t b0, int& error) {
  return Exchange({b0}, error);
}
bool SendFrame2(std::uint8_t b0, std::uint8_t b1, int& error) {
  return Exchange({b0, b1}, error);
}
bool SendFrame3(std::uint8_t b0, std::uint8_t b1, std::uint8_t b2, int& error) {
  return Exchange({b0, b1, b2}, error);
}
bool SendFrame4(std::uint8_t b0, std::uint8_t b1, std::uint8_t b2, std::uint8_t b3, int& error) {
  return Exchange({b0, b1, b2, b3}, error);
}

bool ReadEcrMemory(std::uint16_t address, std::uint8_t length, int& error) {
  return Exchange({'D', static_cast<std::uint8_t>(address), static_cast<std::uint8_t>(address >> 8), length},
                  error, 1 + length);
}

bool ReadEcrMemoryExt(std::uint16_t address, std::uint8_t length, std::uint8_t selector, int& error) {
  return Exchange(
      {'D', static_cast<std::uint8_t>(address), static_cast<std::uint8_t>(address >> 8), length, selector},
      error, 1 + length);
}

bool ReadEcrRecordExt(int a, int b, std::uint8_t length, std::uint8_t selector, int& error) {
  return Exchange({'D', static_cast<std::uint8_t>(a), static_cast<std::uint8_t>(b >> 8), length, selector},
                  error, 1 + length);
}

bool ReadEcrTableRecord(std::uint8_t selector, int number, int& error) {
  if (!Exchange({'U', 0, 0x20, selector, static_cast<std::uint8_t>(number), static_cast<std::uint8_t>(number >> 8)},
                error, 2))
    return false;
  const FrameBufferData& answer = FrameBuffer();
  if (answer.data[1] != 0) {
    error = RecordRefusal(answer.data[1]);
    return false;
  }
  if (answer.length < 3) {
    error = kClassAnswerLetter | answer.data[0];
    return false;
  }
  return true;
}

// The status byte decides whether data follow, so only the letter and it are required here.
bool ReadEcrMemory32(std::uint32_t address, std::uint8_t length, int& error) {
  return Exchange(
      {'O', 20, static_cast<std::uint8_t>(address), static_cast<std::uint8_t>(address >> 8),
       static_cast<std::uint8_t>(address >> 16), static_cast<std::uint8_t>(address >> 24), length},
      error, 2);
}

bool ReadEcrIdentityFrame(int& error) {
  return Exchange({'O', 17}, error);
}

bool SendO17Number(std::uint16_t n, int& error) {
  return Exchange({'O', 17, static_cast<std::uint8_t>(n), static_cast<std::uint8_t>(n >> 8)}, error);
}

int ReadEcrStatus() {
  int error = 0;
  SendFrame1('S', error);
  return error;
}

int ReleaseEcrStandBy() {
  int error = 0;
  SendFrame2('H', 0, error);
  return error;
}

int SetEcrStandBy(int mode, std::uint32_t limitMs) {
  const std::uint32_t start = platform::TickCount();
  for (;;) {
    int error = 0;
    if (SendFrame2('H', 1, error)) return 0;
    if (error != kRefusedTransactionOpen) return kResultStandBySetError;
    if (mode != 2) return kResultTransactionOpen;
    const int counter = Executor().InBatch ? kBatchProgressCounter : 0;
    if (!KeepWaiting(start, limitMs, counter, kMsgWaitingTransactionEnd)) return kResultTransactionOpen;
    platform::SleepMilliseconds(kPollPauseMs);
  }
}

int WaitChipCard(int wait, std::uint32_t limitMs) {
  const std::uint32_t start = platform::TickCount();
  for (;;) {
    int error = 0;
    if (!Exchange({'C', 4}, error, 2)) return error;
    if (FrameBuffer().data[1] != kNoCardInReader) return 0;
    if (wait == 0) return kResultChipCardError;
    if (!KeepWaiting(start, limitMs, 0, kMsgWaitingChipCard)) return kResultChipCardError;
    platform::SleepMilliseconds(kPollPauseMs);
  }
}

// The host's status function answers 0 when it could read the register's
// status, and only then do its flags mean anything (the convention
// ReadEcrConfig and the executor's readiness check share).
bool IsEcrReady() {
  if (!HostHasStatus()) return false;
  for (int ask = 0; ask < kReadyAsks; ++ask) {
    int flags = 0;
    if (AskHostStatus(1, flags) != 0) return false;
    if (!(flags & HOST_STATUS_NOT_READY)) return true;
  }
  return false;
}

bool ReadEcrIdentityBlock(std::span<std::uint8_t, kIdentityBlockBytes> block) {
  std::fill(block.begin(), block.end(), 0);
  int error = 0;
  if (!ReadEcrIdentityFrame(error)) return true;
  const FrameBufferData& buffer = FrameBuffer();
  if (buffer.length < 33) return false;
  const int count = buffer.length >= 1 + kIdentityBlockBytes ? kIdentityBlockBytes : 32;
  std::copy_n(buffer.data.begin() + 1, count, block.begin());
  return true;
}

bool ReadEcrArea(std::uint32_t address, int units, std::uint8_t* destination, int& error) {
  for (int block = 0; block < units * (kAreaUnitBytes / kBlockBytes); ++block) {
    if (!ReadEcrMemory32(address, kBlockBytes, error)) return false;
    const FrameBufferData& buffer = FrameBuffer();
    if (buffer.length != 2 + kBlockBytes) {
      error = kClassAnswerLetter | buffer.data[0];
      return false;
    }
    std::copy_n(buffer.data.begin() + 2, kBlockBytes, destination);
    destination += kBlockBytes;
    address += kBlockBytes;
  }
  return true;
}

bool ReadEcrArea(std::uint32_t address, int units, std::uint8_t* destination) {
  int error = 0;
  return ReadEcrArea(address, units, destination, error);
}

bool ReadEcrBlock16K(std::uint32_t address, std::uint8_t* destination, int& error) {
  return ReadEcrArea(address, kBlock16KBytes / kAreaUnitBytes, destination, error);
}

bool ReadEcrBlock16K(std::uint32_t address, std::uint8_t* destination) {
  int error = 0;
  return ReadEcrBlock16K(address, destination, error);
}

int XferResetDataCollect() {
  return XferReset(11, 0);
}

int XferResetArticles() {
  const int error = XferReset(15, 2);
  if (error == 0 && FrameBuffer().data[1] != 0) return kResultArticlesResetError;
  return error;
}

}  // namespace quadrel
