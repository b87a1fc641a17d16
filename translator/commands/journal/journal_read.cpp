#include "commands/journal/journal_read.h"

#include <string>

#include "commands/journal/journal_direct_read.h"
#include "commands/journal/journal_request.h"
#include "config/ecr_config_read.h"
#include "files/capture_file.h"
#include "language/result_codes.h"
#include "link/frame_exchange.h"
#include "link/key_batch.h"
#include "link/key_records.h"
#include "link/register_checks.h"
#include "link/settings_write_back.h"
#include "state/ecr_config.h"
#include "state/executor_state.h"

namespace quadrel {
namespace {

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

// Key position 4, the report's fields, key position 1; sent after the
// handler returns, with the echo of the printed lines captured meanwhile.
int QueueJournalReport(const JournalRequest& r) {
  if (CaptureFile().file.IsOpen()) {
    if (const int error = StartEcrEcho()) return error;
  }
  KeyRecords keys;
  keys.KeyPosition(4).ConfirmedNumber(std::to_string(ReportNumber(r))).ConfirmedNumber(r.fromDate);
  if (r.withTimes) keys.ConfirmedNumber(r.fromTime);
  keys.ConfirmedNumber(r.toDate);
  if (r.withTimes) keys.ConfirmedNumber(r.toTime);
  if ((r.fromDate == r.toDate && !r.bit7) || r.withTimes) {
    keys.ConfirmedNumber(std::to_string(r.fromDocument)).ConfirmedNumber(std::to_string(r.toDocument));
  }
  keys.KeyPosition(1);
  if (const int error = keys.Queue()) return error;
  Executor().StopOnRecordError = 1;
  return 0;
}

}  // namespace

int CmdJournalRead() {
  ResetCaptureFile();
  if (!EcrIdle()) return kResultEcrNotIdle;
  if (const int error = ReadEcrConfig(0)) return error;

  JournalRequest request;
  if (const int error = ReadJournalRequest(CurrentRecord().FeatureLevels[kFeatureJournalRead], request))
    return error;
  if (!request.outputFile.empty() && !OpenCaptureFile(request.outputFile)) return kResultBatchFileOpenError;
  if (request.direct) return ReadJournalDirect(request);
  const int error = QueueJournalReport(request);
  if (error != 0) ResetCaptureFile();
  return error;
}

}  // namespace quadrel
