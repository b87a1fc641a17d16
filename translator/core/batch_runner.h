// Runs a batch file named by an '@' line: every line through the retry
// policy, progress per line, failed lines collected in a result file, and a
// summary text at the end.
#pragma once

#include <string>
#include <string_view>

namespace quadrel {

constexpr int kResultBatchFileOpenError = 11;   // "FILE OPEN ERROR"
constexpr int kResultResultFileOpenError = 12;  // "ERROR FILE OPEN ERROR"
constexpr int kResultErrorsInBatch = 14;        // "ERRORS DURING EXECUTION OF FILE"

// Longest batch line kept; the rest of a longer line is dropped.
constexpr int kMaxBatchLineLength = 2047;

// Runs the batch request that the executor stored in Executor() (batch file,
// result file, temporary result file). `resultText` receives the summary.
// Returns 0, 11, 12 or 14.
int RunBatchFile(std::string& resultText);

// Traces a line that ran, its result text and its code in hexadecimal, each
// at information level, when the host has a trace function.
void TraceLineResult(std::string_view line, const std::string& resultText, int code);

}  // namespace quadrel
