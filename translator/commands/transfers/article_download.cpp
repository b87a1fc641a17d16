#include "commands/transfers/article_download.h"

#include <array>
#include <cstdint>

#include "commands/transfers/article_lines.h"
#include "commands/transfers/transfer_run.h"
#include "language/result_codes.h"
#include "link/register_link.h"
#include "records/record_frame.h"
#include "state/ecr_config.h"

namespace quadrel {
namespace {

constexpr std::uint8_t kOpenDownload = 7;
constexpr std::uint8_t kNextRecord = 4;
constexpr std::uint8_t kNextRecordByte1 = 0x80;
constexpr std::uint8_t kCloseDownload = 8;
constexpr std::uint8_t kRemoveSentRecord = 9;
constexpr int kAnswerNoMoreRecords = 7;
constexpr int kAnswerEcrEndedDownload = 8;
constexpr int kRecordStart = 4;  // answer bytes 2-3 carry the sequence number
// A register that refuses record after record would hold the command for
// ever: this many refusals in a row end the download.
constexpr int kMaxRefusalsInRow = 64;

int SequenceNumber() {
  const FrameBufferData& answer = FrameBuffer();
  return answer.data[2] | answer.data[3] << 8;
}

class ArticleDownload {
 public:
  ArticleDownload(LineFile& data, LineFile* log, const TransferOptions& options)
      : run_(data, log, 0), options_(options), geometry_(CurrentArticleGeometry()) {}

  int Run() {
    if (const int error = Open(0)) return run_.Finish(error);
    bool stopped = false;
    if (const int error = Records(stopped)) return run_.Finish(error);
    if (!stopped) return run_.Finish(Close());
    // Stopped by the host or by the data file: the register's count means nothing now.
    int answer = 0;
    return run_.Finish(ExchangeRecordRequest(0, kCloseDownload, {}, answer));
  }

 private:
  bool Numbered() const { return CurrentRecord().InfoFrame24Ok != 0; }

  int Open(int startSequence) {
    const std::array<std::uint8_t, 6> request = {static_cast<std::uint8_t>(startSequence & 0xFF),
                                                 static_cast<std::uint8_t>(startSequence >> 8),
                                                 0xFF,
                                                 0xFF,
                                                 options_.articleSelection,
                                                 options_.articleOption};
    int answer = 0;
    if (const int error = ExchangeRecordRequest(0, kOpenDownload, request, answer)) return error;
    received_ = 0;
    lastSequence_ = -1;
    return answer == kAnswerAccepted ? 0 : kResultDownloadOpenError;
  }

  int Records(bool& stopped) {
    int refusalsInRow = 0;
    for (;;) {
      int answer = 0;
      if (const int error = ExchangeRecordRequest(kNextRecordByte1, kNextRecord, {}, answer)) return error;
      if (answer == kAnswerNoMoreRecords) return 0;
      if (answer == kAnswerEcrEndedDownload) return kResultDownloadEndedByEcr;
      if (answer != kAnswerAccepted) {
        run_.CountError(RecordRefusal(answer), true);
        if (++refusalsInRow == kMaxRefusalsInRow) return RecordRefusal(answer);
        continue;
      }
      refusalsInRow = 0;
      if (FrameBuffer().length < kRecordStart) return kClassAnswerLetter | FrameBuffer().data[0];
      const int sequence = SequenceNumber();
      if (Numbered() && lastSequence_ >= 0 && sequence > lastSequence_ + 1) {
        if (const int error = Resume()) return error;
        continue;
      }
      if (const int error = TakeRecord(sequence, stopped)) return error;
      if (stopped) return 0;
    }
  }

  int TakeRecord(int sequence, bool& stopped) {
    const FrameBufferData& answer = FrameBuffer();
    const ByteSpan record(answer.data.data() + kRecordStart,
                          static_cast<std::size_t>(answer.length - kRecordStart));
    DownloadedArticle article;
    if (!SplitArticleRecord(record, geometry_, (options_.articleOption & kCodesOnly) != 0, article))
      return kClassAnswerLetter | answer.data[0];
    lastCode_.assign(article.code.begin(), article.code.end());
    lastSequence_ = sequence;
    ++received_;
    const std::string line = options_.commandLines ? ArticleCommandLine(article, geometry_)
                                                   : ArticleValuesLine(article, geometry_);
    stopped = !run_.WriteDataLine(line, !options_.commandLines);
    // Only a record that is in the data file may go from the register.
    if (options_.clear && !run_.WriteFailed()) {
      int removed = 0;
      if (const int error = ExchangeRecordRequest(0, kRemoveSentRecord, {}, removed)) return error;
      if (removed != kAnswerAccepted) return RecordRefusal(removed);
    }
    return 0;
  }

  // Records were lost between the last one taken and this one: read the last
  // one again, close, and ask again from the record after it.
  int Resume() {
    int answer = 0;
    if (const int error = ExchangeRecordRequest(0, kSubArticleRead, lastCode_, answer)) return error;
    if (answer != kAnswerAccepted) return RecordRefusal(answer);
    if (const int error = ExchangeRecordRequest(0, kCloseDownload, {}, answer)) return error;
    if (options_.standByMode >= 0) {
      if (const int error = SetEcrStandBy(options_.standByMode)) return error;
    }
    return Open(lastSequence_ + 1);
  }

  int Close() {
    int answer = 0;
    if (const int error = ExchangeRecordRequest(0, kCloseDownload, {}, answer)) return error;
    if (!Numbered()) return 0;
    if (FrameBuffer().length < kRecordStart) return kClassAnswerLetter | FrameBuffer().data[0];
    return SequenceNumber() != received_ ? kResultRecordsMissing : 0;
  }

  TransferRun run_;
  const TransferOptions& options_;
  const ArticleGeometry geometry_;
  RecordBytes lastCode_;
  int lastSequence_ = -1;
  int received_ = 0;
};

}  // namespace

int XferArticlesToFile(LineFile& data, LineFile* log, const TransferOptions& options) {
  return ArticleDownload(data, log, options).Run();
}

}  // namespace quadrel
