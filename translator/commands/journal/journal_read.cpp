#include "commands/journal/journal_read.h"

#include <string>

#include "commands/journal/journal_direct_read.h"
#include "commands/journal/journal_request.h"
#include "config/ecr_config_read.h"
#include "files/capture_file.h"
#include "interfaces/host_info.h"
#include "language/result_codes.h"
#include "link/frame_exchange.h"
#include "link/key_batch.h"
#include "link/key_records.h"
#include "link/settings_write_back.h"
#include "state/ecr_config.h"
#include "state/executor_state.h"
#include "state/library_state.h"

namespace quadrel {
namespace {

constexpr std::uint8_t kConfirmKey = 0x91;
constexpr std::uint8_t kKeyPositionKey = 14;
constexpr int kStateIdle = 0x01;
constexpr int kTransactionBusyBits = 0x21;

bool EcrIdle() {
  const EcrStatusFields& status = EcrStatusBytes();
  return (status.state & kStateIdle) != 0 && (status.transactionFlags & kTransactionBusyBits) == 0;
}

// The journal report the register runs for the keyboard way; later rules win.
int ReportNumber(const JournalRequest& r) {
  const int base = r.secondFamily ? 160 : 170;
  int report = base;
  if (r.withTimes) report = r.secondFamily ? 166 : 177;
  if (r.bit7) report = r.secondFamily && r.withTimes ? 167 : base + 1;
  if (r.bit8) report = base + 2;
  if (r.bit9) report = base + 3;
  return report;
}

void Field(KeyRecords& keys, const std::string& digits) {
  keys.Record().Digits(digits).Key(kConfirmKey);
}

// Key position 4, the report's fields, key position 1; sent after the
// handler returns, with the echo of the printed lines captured meanwhile.
int QueueJournalReport(const JournalRequest& r) {
  if (CaptureFile().file.IsOpen()) {
    if (const int error = SwitchEcrEchoOn()) return error;
    std::int32_t out = 0;
    RequestHostService(ECRIO_ECHO_ON, 0, nullptr, nullptr, nullptr, nullptr, &out);
  }
  KeyRecords keys;
  keys.Record().Key(0).Key(0).Digits("4").Key(kKeyPositionKey);
  Field(keys, std::to_string(ReportNumber(r)));
  Field(keys, r.fromDate);
  if (r.withTimes) Field(keys, r.fromTime);
  Field(keys, r.toDate);
  if (r.withTimes) Field(keys, r.toTime);
  if ((r.fromDate == r.toDate && !r.bit7) || r.withTimes) {
    Field(keys, std::to_string(r.fromDocument));
    Field(keys, std::to_string(r.toDocument));
  }
  keys.Record().Key(0).Key(0).Digits("1").Key(kKeyPositionKey);
  if (const int error = keys.Queue()) return error;
  Executor().StopOnRecordError = 1;
  return 0;
}

}  // namespace

int CmdJournalRead() {
  ResetCaptureFile();
  Library().settingsChanged = false;
  if (!EcrIdle()) return kResultEcrNotIdle;
  if (const int error = ReadEcrConfig(0)) return error;

  JournalRequest request;
  if (const int error = ReadJournalRequest(CurrentRecord().FeatureLevels[kFeatureJournalRead], request))
    return error;
  CaptureFileState& capture = CaptureFile();
  if (!request.outputFile.empty()) {
    if (!OpenLineFile(request.outputFile, LINE_CREATE_ALWAYS | LINE_READ_WRITE, capture.file,
                      LINE_SLOT_UNBUFFERED))
      return kResultBatchFileOpenError;
    capture.name = request.outputFile;
  }
  if (request.direct) return ReadJournalDirect(request);
  const int error = QueueJournalReport(request);
  if (error != 0) ResetCaptureFile();
  return error;
}

}  // namespace quadrel
