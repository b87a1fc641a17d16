#include "commands/transfers/data_collect_download.h"

#include <vector>

#include "commands/transfers/transfer_run.h"
#include "config/ecr_config_read.h"
#include "events/data_capture_records.h"
#include "language/result_codes.h"
#include "records/record_frame.h"
#include "state/ecr_config.h"

namespace quadrel {
namespace {

constexpr std::uint8_t kSelect = 25;
constexpr std::uint8_t kNextRecord = 10;
constexpr std::uint8_t kSelectedByte1 = 0x80;
constexpr int kAnswerEnd = 7;
constexpr int kAnswerOverflow = 2;
constexpr int kRecordStart = 2;
constexpr std::uint8_t kKindMask = 0x3F;
constexpr int kKindReceiptEnd = 13;
constexpr int kKindSelectionEnd = 15;
constexpr int kReceiptEndMinAnswer = 13;  // answer bytes of a whole receipt-end record
constexpr int kShortRecord = kClassTransferAnswer | 0xFF;

// Sends the selection. 0 with `nothing` set when the register has no record for it.
int Select(const DataCollectSelection& selection, bool& nothing) {
  std::vector<std::uint8_t> rest;
  if (selection.kind == 1) {
    rest.assign(selection.number.begin(), selection.number.end());
    rest.insert(rest.end(), selection.data.begin(), selection.data.end());
  }
  int answer = 0;
  if (const int error = ExchangeRecordRequest(0, kSelect, rest, answer)) return error;
  nothing = answer == kAnswerEnd;
  return answer == kAnswerAccepted || nothing ? 0 : RecordRefusal(answer);
}

}  // namespace

int XferDataCollectToFile(LineFile& data, LineFile* log, const TransferOptions& options) {
  if (const int error = ReadEcrFileInfo()) return error;
  const int count = CurrentRecord().FileInfo45;
  TransferRun run(data, log, count);
  if (count == 0) return run.Finish(0);
  const DataCollectSelection& selection = options.selection;
  if (selection.given) {
    bool nothing = false;
    if (const int error = Select(selection, nothing)) return run.Finish(error);
    if (nothing) return run.Finish(0);
  }
  const std::uint8_t byte1 = selection.given ? kSelectedByte1 : 0;
  bool overflow = false;
  for (;;) {
    int answer = 0;
    if (const int error = ExchangeRecordRequest(byte1, kNextRecord, {}, answer)) return run.Finish(error);
    if (answer == kAnswerEnd) break;
    if (answer == kAnswerOverflow) {
      overflow = true;
    } else if (answer != kAnswerAccepted) {
      run.CountError(RecordRefusal(answer), true);
      break;
    }
    const FrameBufferData& reply = FrameBuffer();
    if (reply.length <= kRecordStart) {
      run.CountError(kClassAnswerLetter | reply.data[0], true);
      break;
    }
    const int kind = reply.data[kRecordStart] & kKindMask;
    // A receipt end that does not hold its fields gives no line.
    if (kind == kKindReceiptEnd && reply.length < kReceiptEndMinAnswer) {
      run.CountError(kShortRecord, true);
      break;
    }
    const std::span<const std::uint8_t> record(reply.data.data() + kRecordStart,
                                               static_cast<std::size_t>(reply.length - kRecordStart));
    std::string line;
    FormatDataCaptureRecord(SelectedEcr(), line, record, options.captureMode);
    if (!run.WriteDataLine(line, false)) break;
    if (selection.numberValue != 0 && (kind == kKindReceiptEnd || kind == kKindSelectionEnd)) break;
  }
  if (overflow) run.CountError(kResultDataCollectOverflow, true);
  return run.Finish(0);
}

}  // namespace quadrel
