// Runs one command line: refuses what may not run, recognises a batch
// request, parses the command and its fields, checks that the register may
// take it, and calls its handler. The key records the handler queues are sent
// afterwards by SendKeyBatch.
#pragma once

#include <string_view>

namespace quadrel {

// Refusals of the executor (besides the parser's 0x100 + row and the host's 512 + n).
constexpr int kResultProgSessionNotOpen = 7;
constexpr int kResultInvalidBatchLine = 10;
constexpr int kResultNoEcrSelected = 27;
constexpr int kResultSourceLineTooLong = 0x100 | 18;  // 274

// Returns the handler's ResultCode or a refusal, -1 for a batch request (its
// names are in Executor()), -2 for an empty or comment-only line.
int TradExecCommand(std::string_view line);

}  // namespace quadrel
