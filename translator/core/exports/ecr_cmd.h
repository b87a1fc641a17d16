// The export through which the host runs a command line or a batch file.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "interfaces/translator_exports.h"
#include "language/result_codes.h"

namespace quadrel {

// The host's smallest result buffer (an asynchronous client call, AutoRun):
// EcrCmd never writes more than this, terminator included, because it is not
// told the size of the buffer it gets. Longer texts are cut.
constexpr std::size_t kEcrCmdResultTextBytes = 256;

// Runs a command line (or the batch file an '@' line names) with fresh
// counters and one-shot flags; `resultText` receives its result text.
// Returns the ResultCode, never -1 or -2.
int EcrCommand(std::string_view commandLine, std::string& resultText);

}  // namespace quadrel

