#include "commands/journal/journal_direct_read.h"

#include <algorithm>
#include <cstdio>
#include <span>
#include <string>

#include "commands/journal/journal_text.h"
#include "files/capture_file.h"
#include "language/message_tables.h"
#include "language/result_codes.h"
#include "language/result_text.h"
#include "link/frame_exchange.h"
#include "platform/platform.h"
#include "state/ecr_config.h"
#include "state/executor_state.h"
#include "state/library_state.h"

namespace quadrel {
namespace {

constexpr std::uint8_t kJournalLetter = 'O';
constexpr std::uint8_t kSelectStretch = 15;
constexpr std::uint8_t kNextBlock = 16;
constexpr std::uint8_t kLastBlock = 0xFF;
constexpr int kUnknownFrame = kClassEcrDataError | 5;  // the register does not know 'O' 15
constexpr int kBatchCountOffset = 100000;
constexpr std::uint8_t kOptionByClosures = 0x80;

// Four decimal digits packed two a byte.
void PutNumberBcd(std::uint8_t* at, int number) {
  char digits[8];
  std::snprintf(digits, sizeof digits, "%04d", number);
  for (int i = 0; i < 2; ++i)
    at[i] = static_cast<std::uint8_t>(((digits[2 * i] - '0') << 4) | (digits[2 * i + 1] - '0'));
}

void PutDigitsBcd(std::uint8_t* at, const std::string& digits) {
  for (std::size_t i = 0; i + 1 < digits.size(); i += 2)
    at[i / 2] = static_cast<std::uint8_t>(((digits[i] - '0') << 4) | (digits[i + 1] - '0'));
}

// One end of the stretch: date, time, 0, document; or 0, closure, 0 0 0, document.
void PutEnd(std::uint8_t* at, const JournalRequest& r, bool from) {
  if (r.ByClosures()) {
    PutNumberBcd(at + 1, from ? r.fromClosure : r.toClosure);
  } else {
    PutDigitsBcd(at, from ? r.fromDate : r.toDate);
    PutDigitsBcd(at + 3, from ? r.fromTime : r.toTime);
  }
  PutNumberBcd(at + 6, from ? r.fromDocument : r.toDocument);
}

std::uint8_t Selection(const JournalRequest& r) {
  std::uint8_t selection = r.bit7 ? 0xFB : 0xFF;
  if (r.bit8) selection &= static_cast<std::uint8_t>(~0x10);
  if (r.bit9) selection &= static_cast<std::uint8_t>(~0x20);
  return selection == 0xFF ? static_cast<std::uint8_t>(r.documentKind) : selection;
}

// Writes the walked lines to the capture file and reports each one.
class CaptureSink final : public JournalLineSink {
 public:
  CaptureSink(bool formFeedLines) : formFeedLines_(formFeedLines) {}

  void Line(const std::string& text) override {
    WriteCaptureLine(text);
    ++lines_;
    Report();
  }

  void FormFeed() override {
    if (formFeedLines_)
      WriteCaptureLine(std::string(static_cast<std::size_t>(std::max(CurrentRecord().PrintWidth, 0)), '='));
  }

  // The lines so far to the host, which may ask to stop.
  void Report() {
    const int count = lines_ + (Executor().InBatch ? kBatchCountOffset : 0);
    ReportProgress(CurrentEcr(), count, 0, IntMsgTable().Row(kMsgOk).c_str(), &abort_);
  }

  int lines() const { return lines_; }
  bool aborted() const { return abort_ == 1; }

 private:
  bool formFeedLines_;
  int lines_ = 0;
  int abort_ = 0;
};

int CloseWith(int code) {
  ResetCaptureFile();
  return code;
}

bool Exchange(std::span<const std::uint8_t> frame, int& error) {
  FrameBufferData& buffer = FrameBuffer();
  buffer.Load(frame);
  return SendFrameBuffer(FRAME_PLAIN, error);
}

}  // namespace

std::array<std::uint8_t, kJournalSelectFrameBytes> JournalSelectFrame(const JournalRequest& r) {
  std::array<std::uint8_t, kJournalSelectFrameBytes> frame{};
  frame[0] = kJournalLetter;
  frame[1] = kSelectStretch;
  frame[2] = Selection(r);
  frame[3] = static_cast<std::uint8_t>(r.option * 2 + (r.optionBit0 ? 1 : 0) +
                                       (r.ByClosures() ? kOptionByClosures : 0));
  PutEnd(frame.data() + 4, r, true);
  PutEnd(frame.data() + 12, r, false);
  return frame;
}

int ReadJournalDirect(const JournalRequest& r) {
  const std::uint32_t start = platform::TickCount();
  int error = 0;
  if (!Exchange(JournalSelectFrame(r), error))
    return CloseWith(error == kUnknownFrame ? kResultVersionNotSupported : error);
  const FrameBufferData& answer = FrameBuffer();
  if (answer.length < 2) return CloseWith(kClassAnswerLetter | answer.data[0]);
  if (answer.data[1] != 0) return CloseWith(kClassEcrError | answer.data[1]);

  CaptureSink sink(r.formFeedLines);
  JournalTextWalker walker;
  const std::array<std::uint8_t, 2> next = {kJournalLetter, kNextBlock};
  int blocksWithoutLineFeed = 0;
  for (;;) {
    if (!Exchange(next, error)) return CloseWith(error);
    if (answer.length < 2) return CloseWith(kClassAnswerLetter | answer.data[0]);
    const std::uint8_t status = answer.data[1];
    if (status != 0 && status != kLastBlock) return CloseWith(kClassEcrError | status);
    const int linesBefore = sink.lines();
    const bool lineFeed =
        walker.Walk(std::span(answer.data).subspan(2, static_cast<std::size_t>(answer.length) - 2), sink);
    if (status == kLastBlock) {
      walker.Finish(sink);
      break;
    }
    // Every block lets the host stop the read, also one that ended no line.
    if (sink.lines() == linesBefore) sink.Report();
    if (sink.aborted()) break;
    blocksWithoutLineFeed = lineFeed ? 0 : blocksWithoutLineFeed + 1;
    if (blocksWithoutLineFeed == kMaxBlocksWithoutLineFeed) return CloseWith(kResultConfigReadError);
  }
  if (!TrimAndCloseCaptureFile()) return kResultBatchFileOpenError;
  TransferStatsRecord& stats = Reply().TransferStats;
  stats.set = true;
  stats.lines = sink.lines();
  stats.msec = static_cast<int>(platform::TickCount() - start);
  return 0;
}

}  // namespace quadrel
