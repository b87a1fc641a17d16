// Runs one command line: refuses what may not run, recognises a batch
// request, parses the command and its fields, checks that the register may
// take it, and calls its handler. The key records the handler queues are sent
// afterwards by SendKeyBatch.
#pragma once

#include <string_view>

#include "language/result_codes.h"

namespace quadrel {

// Returns the handler's ResultCode or a refusal, -1 for a batch request (its
// names are in Executor()), -2 for an empty or comment-only line.
int TradExecCommand(std::string_view line);

}  // namespace quadrel
