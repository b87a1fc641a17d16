#include "run/batch_runner.h"

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "files/line_file.h"
#include "language/message_tables.h"
#include "language/result_codes.h"
#include "language/result_text.h"
#include "platform/platform.h"
#include "run/command_executor.h"
#include "run/key_batch_sender.h"
#include "run/retry_runner.h"
#include "run/traced_line.h"
#include "state/batch_state.h"
#include "state/ecr_config.h"
#include "state/executor_state.h"
#include "state/library_state.h"

namespace quadrel {
namespace {

constexpr int kBatchReadSlot = 1;
constexpr int kTraceInfo = 2;
constexpr int kLineEndBytes = 2;  // CR LF, as the percentage counts every line

// InBatch for the lines of the file; cleared on every way out.
class InBatchScope {
 public:
  InBatchScope() { Executor().InBatch = 1; }
  ~InBatchScope() { Executor().InBatch = 0; }
  InBatchScope(const InBatchScope&) = delete;
  InBatchScope& operator=(const InBatchScope&) = delete;
};

// Slave mode on or off around a batch; what the register answers is not used.
void RunSlaveModeLine(std::string_view line) {
  TradExecCommand(line);
  SendKeyBatch(0, nullptr, 0);
}

// Share of the file read, 0..100. 64-bit, so files of any size are safe; a
// file of lines ending in a bare line feed would otherwise pass 100.
int PercentDone(std::int64_t bytesDone, std::uintmax_t fileSize) {
  if (fileSize == 0) return 100;
  const std::int64_t percent = bytesDone * 100 / static_cast<std::int64_t>(fileSize);
  return percent > 100 ? 100 : static_cast<int>(percent);
}

void ReportLine(const char* text) {
  BatchRunState& run = BatchRun();
  ReportProgress(CurrentEcr(), run.lineNumber, run.percent, text, &run.abortIndicator);
}

std::string FormattedText(int code) {
  std::string text;
  FormatResultText(text, code);
  return text;
}

// Replaces the result file by the temporary one. On failure the temporary
// file is kept, so the failed lines are not lost.
bool PublishResultFile(const std::string& temporary, const std::string& result) {
  std::error_code failure;
  std::filesystem::copy_file(temporary, result, std::filesystem::copy_options::overwrite_existing,
                             failure);
  if (failure) return false;
  std::filesystem::remove(temporary, failure);
  return true;
}

// Runs the lines of `batch`. Returns the number of lines that failed.
int RunLines(LineFile& batch, std::uintmax_t fileSize, LineFile* results, bool& resultsLost) {
  BatchRunState& run = BatchRun();
  ReplyState& reply = Reply();
  const LibraryState& lib = Library();
  std::int64_t bytesDone = 1;
  int failedLines = 0;
  std::string line;
  std::string resultText;
  for (;;) {
    const int length = ReadLine(batch, line, kMaxBatchLineLength, kBatchReadSlot);
    if (length == LINE_READ_ERROR) return failedLines + 1;  // the rest of the file never ran
    if (length < 0) return failedLines;
    bytesDone += length + kLineEndBytes;
    run.percent = PercentDone(bytesDone, fileSize);
    ++run.lineNumber;
    reply.BatchLineError.line = run.lineNumber;

    if (lib.batchEcho) ReportLine((">" + TracedLine(line)).c_str());
    const int code = TradExecWithRetry(line, results);
    if (code == kResultEmptyLine) {
      TraceLineResult(line, std::string(), 0);
      continue;
    }
    TraceLineResult(line, FormattedText(code), code);

    ++run.executedLines;
    if (code != 0) {
      ++failedLines;
      reply.BatchLineError.set = true;
    }
    resultText.clear();
    FormatResultText(resultText, code);
    ReportLine(resultText.c_str());
    if (results && code != 0 && code != kResultNonOk && !WriteLine(*results, resultText))
      resultsLost = true;
    bool stop = false;
    if (run.abortIndicator == 1) {
      reply.ReplyExtra = IntMsgTable().Row(kMsgAborted);
      stop = true;
    }
    if (code != 0 && (lib.options.StopBatchOnError || run.StopBatch)) stop = true;
    reply.TransferStats.set = false;
    reply.PendingReply.set = false;
    if (stop) return failedLines;
  }
}

}  // namespace

void TraceLineResult(std::string_view line, const std::string& resultText, int code) {
  const HostInfoRecord* info = Library().host.info;
  if (!info || !info->trace) return;
  char hexCode[16];
  std::snprintf(hexCode, sizeof hexCode, "%X", static_cast<unsigned>(code));
  HostTraceLine(kTraceInfo, TracedLine(line).c_str());
  HostTraceLine(kTraceInfo, resultText.c_str());
  HostTraceLine(kTraceInfo, hexCode);
}

int RunBatchFile(std::string& resultText) {
  const ExecutorState& exec = Executor();
  resultText.clear();
  LineFile batch;
  if (!OpenLineFile(exec.BatchFileName, LINE_OPEN_EXISTING, batch, kBatchReadSlot)) {
    FormatResultText(resultText, kResultBatchFileOpenError);
    return kResultBatchFileOpenError;
  }
  std::error_code failure;
  std::uintmax_t fileSize = std::filesystem::file_size(exec.BatchFileName, failure);
  if (failure) fileSize = 0;

  LineFile results;
  const bool hasResults = !exec.ResultFileName.empty();
  if (hasResults) {
    std::filesystem::remove(exec.ResultFileName, failure);
    if (!OpenLineFile(exec.TempResultFileName, LINE_CREATE_ALWAYS | LINE_READ_WRITE, results,
                      LINE_SLOT_UNBUFFERED)) {
      batch.Close();
      FormatResultText(resultText, kResultResultFileOpenError);
      return kResultResultFileOpenError;
    }
  }

  const bool autoSlave = Library().switches.AutoSlaveOnBatch;
  if (autoSlave) RunSlaveModeLine("#29 #1=1");
  int failedLines = 0;
  bool resultsLost = false;
  std::uint32_t elapsed = 0;
  {
    InBatchScope inBatch;
    const std::uint32_t start = platform::TickCount();
    failedLines = RunLines(batch, fileSize, hasResults ? &results : nullptr, resultsLost);
    elapsed = platform::TickCount() - start;
    batch.Close();
    if (hasResults && !results.Close()) resultsLost = true;
    Reply().BatchLineError.set = false;
  }

  // Lines that failed end the batch with 14 even where the sender counted
  // nothing (a confirmation request, a user who stopped an endless retry).
  const bool errors = exec.ErrorCount > 0 || exec.EcrErrorCount > 0 || failedLines > 0;
  int result = errors ? kResultErrorsInBatch : 0;
  FormatResultText(resultText, result);
  if (result == 0) {
    char summary[64];
    std::snprintf(summary, sizeof summary, "(%d Lines   %u msec)", BatchRun().executedLines,
                  static_cast<unsigned>(elapsed));
    resultText += summary;
  }

  if (hasResults && !resultsLost && !PublishResultFile(exec.TempResultFileName, exec.ResultFileName))
    resultsLost = true;
  if (resultsLost && result == 0) {
    result = kResultResultFileOpenError;
    resultText.clear();
    FormatResultText(resultText, result);
  }
  if (autoSlave) RunSlaveModeLine("#29 #2=1");
  return result;
}

}  // namespace quadrel
