#include "commands/dumps/dump_progress.h"

#include <algorithm>

#include "language/message_tables.h"
#include "language/result_codes.h"
#include "state/ecr_config.h"
#include "state/executor_state.h"
#include "state/library_state.h"

namespace quadrel {
namespace {

constexpr int kBatchProgressCounter = 100000;

}  // namespace

void ReportDumpProgress(int count, int total) {
  const int percent = total > 0 ? std::min(100, static_cast<int>(static_cast<long long>(count) * 100 / total)) : 100;
  int abort = 0;  // not looked at: a dump runs to its end
  ReportProgress(CurrentEcr(), count + (Executor().InBatch ? kBatchProgressCounter : 0), percent,
                 IntMsgTable().Row(kMsgOk).c_str(), &abort);
}

int WriteDumpLine(LineFile& file, std::string& line, int& count, int total) {
  if (!line.empty() && SeparatorChar() != 0 && line.back() == SeparatorChar()) line.pop_back();
  const bool written = WriteLine(file, line);
  line.clear();
  if (!written) return kResultBatchFileOpenError;
  ReportDumpProgress(++count, total);
  return 0;
}

}  // namespace quadrel
