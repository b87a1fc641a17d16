#include "exports/ecr_cmd.h"

#include <algorithm>
#include <cstring>

#include "language/result_codes.h"
#include "language/result_text.h"
#include "run/batch_runner.h"
#include "run/retry_runner.h"
#include "state/batch_state.h"
#include "state/executor_state.h"
#include "state/library_state.h"

namespace quadrel {
namespace {

void ResetRun() {
  ReplyState& reply = Reply();
  reply.BatchLineError = LineErrorMark{};
  reply.TransferLineError.set = false;
  reply.ReplyExtra.clear();
  BatchRun() = BatchRunState{};
  ExecutorState& exec = Executor();
  exec.ErrorCount = 0;
  exec.EcrErrorCount = 0;
}

void ClearLineFlags() {
  Reply().TransferStats.set = false;
  Reply().PendingReply.set = false;
}

// The text of a refusal that must leave the running command's one-shot texts
// and line marks untouched.
std::string DetachedResultText(int code) {
  const ReplyState saved = Reply();
  std::string text;
  FormatResultText(text, code);
  Reply() = saved;
  return text;
}

void CopyBounded(const std::string& text, char* dst) {
  if (!dst) return;
  const std::size_t length = std::min(text.size(), kEcrCmdResultTextBytes - 1);
  std::memcpy(dst, text.data(), length);
  dst[length] = '\0';
}

int RunGuarded(const char* commandLine, std::string& text) {
  try {
    return EcrCommand(commandLine ? std::string_view(commandLine) : std::string_view(), text);
  } catch (...) {
    Executor().InBatch = 0;
    try {
      text = DetachedResultText(kResultInternalError);
    } catch (...) {
      text.clear();
    }
    return kResultInternalError;
  }
}

}  // namespace

int EcrCommand(std::string_view commandLine, std::string& resultText) {
  ResetRun();
  resultText.clear();
  const int code = TradExecWithRetry(commandLine, nullptr);
  if (code == kResultBatchRequest) {
    TraceLineResult(commandLine, resultText, 0);
    return RunBatchFile(resultText);
  }
  const int result = code == kResultEmptyLine ? 0 : code;
  FormatResultText(resultText, result);
  ClearLineFlags();
  TraceLineResult(commandLine, resultText, result);
  return result;
}

}  // namespace quadrel

int QUADREL_CALL EcrCmd(const char* commandLine, char* resultText) {
  using namespace quadrel;
  std::string text;
  int code = 0;
  const ExportEntry entry;
  if (!entry.Entered()) {
    code = kResultBusy;
    try {
      text = DetachedResultText(code);
    } catch (...) {
      text.clear();
    }
  } else {
    code = RunGuarded(commandLine, text);
  }
  CopyBounded(text, resultText);
  return code;
}
