// Runs a batch file named by an '@' line: every line through the retry
// policy, progress per line, failed lines collected in a result file, and a
// summary text at the end.
#pragma once

#include <string>
#include <string_view>

#include "language/result_codes.h"

namespace quadrel {

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
