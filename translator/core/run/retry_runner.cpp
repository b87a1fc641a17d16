#include "run/retry_runner.h"

#include <cstdio>
#include <string>

#include "language/result_codes.h"
#include "language/result_text.h"
#include "link/ecr_state_fields.h"
#include "platform/platform.h"
#include "run/command_executor.h"
#include "run/key_batch_sender.h"
#include "run/retry_policy.h"
#include "run/traced_line.h"
#include "state/batch_state.h"
#include "state/ecr_config.h"
#include "state/executor_state.h"
#include "state/library_state.h"

namespace quadrel {
namespace {

constexpr int kAttempts = 3;
constexpr int kDataErrorRetried = kClassEcrDataError | 7;  // "8/7"
constexpr int kTraceInfo = 2;
constexpr int kTraceCommandLine = 3;
// Critical codes that are worth showing in the row of the returned code.
constexpr int kCriticalCodesShown[] = {22, 43};

PauseFunction retryPause = nullptr;

void Pause(std::uint32_t ms) {
  if (retryPause) {
    retryPause(ms);
  } else {
    platform::WaitServingMessages(ms);
  }
}

void ClearEcrTwice() {
  ClearEcr();
  ClearEcr();
}

// Reads the register's state fields with 'C' 11 and traces them; `text`
// becomes what the trace says last. Returns the critical code the register
// reports, 0 when it has recovered or the read failed.
int ReadCriticalState(std::string& text) {
  HostTraceLine(kTraceInfo, "Critical error 4/xxx Retry");
  HostTraceLine(kTraceInfo, "Leggo errore critico comando C11");
  text.clear();
  int error = 0;
  const bool read = ReadEcrStateFields(text, error);
  HostTraceLine(kTraceInfo, text.c_str());
  if (!read) return 0;
  const int critical = StateAnswerCriticalCode();
  if (critical != 0) {
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "Errore critico = %d ", critical);
    text = buffer;
  } else {
    text = "Errore critico recuperato";
  }
  HostTraceLine(kTraceInfo, text.c_str());
  return critical;
}

bool IsCriticalCodeShown(int critical) {
  for (const int shown : kCriticalCodesShown)
    if (critical == shown) return true;
  return false;
}

// Shows `text` to the user through the progress callback and tells whether
// the user asked to stop.
bool UserStops(const std::string& text) {
  BatchRunState& run = BatchRun();
  ReportProgress(CurrentEcr(), run.lineNumber, run.percent, text.c_str(), &run.abortIndicator);
  return run.abortIndicator == 1;
}

}  // namespace

void SetRetryPause(PauseFunction pause) { retryPause = pause; }

void ClearEcr() {
  TradExecCommand("#8");
  SendKeyBatch(0, nullptr, 1);
}

int TradExecWithRetry(std::string_view line, LineFile* answerFile) {
  const TranslatorSwitches& switches = Library().switches;
  const bool inBatch = Executor().InBatch != 0;
  int coverMode = switches.CoverOpenPaperEmptyMode;
  // Without a progress callback nobody could stop an endless wait: the state
  // then ends the batch after three attempts instead.
  if (coverMode == kCoverRetryUntilCleared && !Library().host.progress) coverMode = kCoverStopBatch;
  int retriesLeft = inBatch && coverMode == kCoverOneAttempt ? 1 : kAttempts;
  Reply().PendingReply.text.clear();
  Reply().FailureDetail = {};
  const std::string traced = TracedLine(line);
  int coverRounds = 0;

  for (;;) {
    --retriesLeft;
    BatchRun().StopBatch = 0;
    Executor().NoRetry = 0;
    HostTraceLine(kTraceCommandLine, traced.c_str());
    int code = SendKeyBatch(TradExecCommand(line), answerFile, retriesLeft);
    if (code != 0 && Executor().NoRetry) {
      // The sender left it uncounted when a retry was due.
      if (!IsFinalFailure(code, retriesLeft)) CountFailure(code);
      return code;
    }

    if (switches.RetryOn8XXX && code == kDataErrorRetried) {
      HostTraceLine(kTraceInfo, "Data Error  8/7 Retry");
      if (retriesLeft > 0) {
        ClearEcrTwice();
        continue;
      }
    }
    if (switches.RetryOn16XXX && ResultClass(code) == kClassEcrError) {
      HostTraceLine(kTraceInfo, "ECR error 16/xxx Retry");
      if (retriesLeft > 0) {
        ClearEcrTwice();
        continue;
      }
    }
    if ((!switches.RetryOn8XXX && !switches.RetryOn16XXX) ||
        ResultClass(code) != kClassCriticalState)
      return code;

    std::string stateText;
    const int critical = ReadCriticalState(stateText);
    if (retriesLeft > 0) ClearEcrTwice();
    if (IsCriticalCodeShown(critical)) code += critical;

    if (inBatch) {
      if (coverMode != kCoverOneAttempt) Pause(kCriticalStatePauseMs);
      if (coverMode == kCoverRetryUntilCleared) {
        if (!UserStops(stateText) && ++coverRounds < kCoverRetryRounds) {
          retriesLeft = kAttempts;
          continue;
        }
        // The sender left this attempt uncounted because a retry was due.
        if (!IsFinalFailure(code, retriesLeft)) CountFailure(code);
        BatchRun().StopBatch = 1;
        return code;
      }
      if (coverMode == kCoverStopBatch) {
        if (retriesLeft > 0) continue;
        BatchRun().StopBatch = 1;
        return code;
      }
    }
    if (retriesLeft > 0) continue;
    return code;
  }
}

}  // namespace quadrel
