#include "run/key_batch_sender.h"

#include <array>
#include <cstdint>
#include <string>

#include "config/ecr_config_read.h"
#include "files/capture_file.h"
#include "language/result_codes.h"
#include "language/result_text.h"
#include "link/ecr_readiness.h"
#include "link/frame_exchange.h"
#include "link/key_batch.h"
#include "link/option_block.h"
#include "link/settings_write_back.h"
#include "run/retry_policy.h"
#include "state/ecr_config.h"
#include "state/executor_state.h"
#include "state/library_state.h"

namespace quadrel {
namespace {

constexpr int kCommandProgramOptions = 36;
constexpr int kCommandProgramPercentages = 45;
constexpr std::uint8_t kKeyFrame = 'A';
constexpr std::uint8_t kClearKey = 0;
constexpr std::uint8_t kConfirmKey = 0x91;

int RecordFlags(const KeyRecord& record) {
  const int command = Executor().LastCommand;
  if (command == 26 || command == 27 || command == kCommandProgramPercentages) return FRAME_MODE_11 | FRAME_PLAIN;
  if (command == 9 && record.length >= 2) {
    const auto& d = record.data;
    if (record.length >= 4 && d[1] == 9 && d[2] == 9 && d[3] == kConfirmKey)
      return FRAME_MODE_11 | FRAME_PLAIN;
    if (d[1] == 0xF0) return FRAME_MODE_0;
  }
  return FRAME_PLAIN;
}

bool SendKey(std::uint8_t key, int& error) {
  const std::array<std::uint8_t, 2> frame = {kKeyFrame, key};
  return SendEcrFrame(FRAME_PLAIN, frame.data(), static_cast<int>(frame.size()), error);
}

// Marks the batch line and writes the code's result text to the answer file.
void ReportRecordError(int code, LineFile* answerFile) {
  if (Executor().InBatch) Reply().BatchLineError.set = true;
  if (!answerFile) return;
  std::string text;
  FormatResultText(text, code);
  WriteLine(*answerFile, text);
}

// The register reported a critical state after a record: recover it. Returns
// the result that ends the batch (StopOnRecordError only), else 0.
int RecoverCriticalState(LineFile* answerFile) {
  ExecutorState& exec = Executor();
  const int critical = EcrStatusBytes().criticalCode;
  TrimAndCloseCaptureFile();
  ++exec.ErrorCount;
  if ((EcrStatusBytes().state & HOST_STATUS_NOT_READY) && HostHasStatus()) {
    // Lets the protocol library catch up with the register; what it answers
    // changes nothing here: the clear key below tells.
    int flags = 0;
    AskHostStatus(1, flags);
  }
  WriteBackEcrSettings();
  int error = 0;
  if (!SendKey(kClearKey, error) && exec.StopOnRecordError) return error;
  const int code = kClassEcrError | critical;
  if (exec.StopOnRecordError) return code;
  if (exec.ProgSessionState != 0) SendKey(kConfirmKey, error);
  ReportRecordError(code, answerFile);
  return 0;
}

// The records of the batch in order, and what follows a batch that went through.
int SendRecords(int code, LineFile* answerFile, int retriesLeft) {
  if (code == 0 && KeyBatch().Overflowed()) code = kResultInternalError;
  if (code != 0) {
    if (IsFinalFailure(code, retriesLeft)) CountFailure(code);
    return code;
  }
  if (Reply().TransferStats.set) return 0;

  ExecutorState& exec = Executor();
  const KeyRecordQueue& batch = KeyBatch();
  int failedRecords = 0;
  for (int i = 0; i < batch.Count(); ++i) {
    const KeyRecord& record = batch.Record(i);
    int error = 0;
    // Only this record's own status answer may report a critical state.
    EcrStatusBytes().criticalCode = 0;
    const bool sent = SendEcrFrame(RecordFlags(record), record.data.data(), record.length, error);
    // The register took the record that does the line's work for good.
    if (sent && i == exec.CommitRecord) exec.NoRetry = 1;
    if (!sent) {
      if (retriesLeft > 0) HostTraceLine(2, "Retry = 0");
      TrimAndCloseCaptureFile();
      ++failedRecords;
      // Only a failure returned as it is can be retried; the batch's 16 never is.
      const bool final = !exec.StopOnRecordError || IsFinalFailure(error, retriesLeft);
      if (final) CountFailure(error);
      if (exec.StopOnRecordError) return error;
      ReportRecordError(error, answerFile);
    }
    if (EcrStatusBytes().criticalCode != 0) {
      ++failedRecords;
      const int stop = RecoverCriticalState(answerFile);
      if (stop != 0) return stop;
    }
  }

  // The session is open only when the register took every opening record.
  if (exec.ProgSessionState == -1) exec.ProgSessionState = failedRecords == 0 ? 1 : 0;
  // Programming percentages changes the register's files: read their information again.
  if (exec.LastCommand == kCommandProgramPercentages) {
    if (const int error = ReadEcrFileInfo(); error != 0) return error;
  }
  // The kept option block is stale once the options went in. Where it cannot
  // be read again, the whole record is read anew by the next command that needs it.
  if (exec.LastCommand == kCommandProgramOptions && ReadOptionBlock(CurrentRecord()) != 0)
    CurrentRecord().EcrNumber = 0;
  if (failedRecords > 0) return kResultNonOk;
  if (Library().options.StopOnConfirm && (EcrStatusBytes().extra & 1)) return kResultEcrAsksConfirmation;
  KeyBatch().Clear();
  return 0;
}

}  // namespace

int SendKeyBatch(int code, LineFile* answerFile, int retriesLeft) {
  if (code == kResultBatchRequest || code == kResultEmptyLine) return code;
  int result = SendRecords(code, answerFile, retriesLeft);
  // Whatever ended the batch, the register's echo goes back off and the
  // capture file is closed; a capture that lost lines fails a batch that
  // went through.
  WriteBackEcrSettings();
  if (!TrimAndCloseCaptureFile() && result == 0) result = kResultBatchFileOpenError;
  return result;
}

}  // namespace quadrel
