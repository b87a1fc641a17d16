#include "commands/transfers/transfer_run.h"

#include <algorithm>

#include "language/message_tables.h"
#include "language/result_codes.h"
#include "language/result_text.h"
#include "platform/platform.h"
#include "state/ecr_config.h"
#include "state/executor_state.h"
#include "state/library_state.h"
#include "state/transfer_state.h"

namespace quadrel {
namespace {

constexpr int kBatchProgressOffset = 100000;  // tells the host the lines belong to a batch line

}  // namespace

std::string LogResult(LineFile* log, int code) {
  std::string text;
  FormatResultText(text, code);
  if (log && log->IsOpen()) WriteLine(*log, text);
  return text;
}

TransferRun::TransferRun(LineFile& data, LineFile* log, int expectedLines)
    : data_(data), log_(log), expected_(expectedLines), start_(platform::TickCount()) {
  Transfer().TransferErrorCount = 0;
  Transfer().TransferEcrErrorCount = 0;
  Transfer().StoppedByHost = false;
}

bool TransferRun::WriteDataLine(std::string line, bool separatedValues) {
  if (separatedValues && !line.empty() && SeparatorChar() != '\0' && line.back() == SeparatorChar())
    line.pop_back();
  if (!WriteLine(data_, line)) {
    writeFailed_ = true;
    return false;
  }
  ++lines_;
  const int percent = expected_ > 0 ? std::min(100, static_cast<int>(100LL * lines_ / expected_)) : 0;
  return Report(lines_, percent, IntMsgTable().Row(kMsgOk));
}

bool TransferRun::FlushData() {
  if (!data_.Flush()) writeFailed_ = true;
  return !writeFailed_;
}

bool TransferRun::Report(int count, int percent, const std::string& text) {
  int abort = 0;
  const int shown = count + (Executor().InBatch ? kBatchProgressOffset : 0);
  ReportProgress(CurrentEcr(), shown, percent, text.c_str(), &abort);
  if (abort != 1) return true;
  Reply().ReplyExtra = IntMsgTable().Row(kMsgAborted);
  Transfer().StoppedByHost = true;
  return false;
}

std::string TransferRun::CountError(int code, bool byRegister) {
  ++Transfer().TransferErrorCount;
  if (byRegister) ++Transfer().TransferEcrErrorCount;
  return LogResult(log_, code);
}

int TransferRun::Finish(int failure) {
  TransferStatsRecord& stats = Reply().TransferStats;
  stats.lines = lines_;
  stats.msec = static_cast<int>(platform::TickCount() - start_);
  stats.set = true;
  if (failure != 0) return failure;
  if (writeFailed_) return kResultDataFileOpenError;
  return Transfer().TransferErrorCount > 0 ? kResultTransferErrors : 0;
}

}  // namespace quadrel
