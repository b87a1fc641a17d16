// Runs one command line and sends what it queued, up to three times as the
// retry switches say, clearing the register between attempts; inside a batch
// the cover mode decides how long a critical state (cover open, paper out) is
// waited for.
#pragma once

#include <cstdint>
#include <string_view>

#include "files/line_file.h"

namespace quadrel {

// CoverOpenPaperEmptyMode values: what a batch does while the register stays
// in a critical state.
constexpr int kCoverRetryUntilCleared = 1;  // repeat the line every pause until it works or the user stops
constexpr int kCoverStopBatch = 2;          // three attempts, then end the batch
constexpr int kCoverOneAttempt = 3;         // one attempt, no pause, the batch goes on

// Pause before a line is tried again after a critical state inside a batch.
constexpr std::uint32_t kCriticalStatePauseMs = 5000;
// Mode 1 repeats at most this many times (ten minutes of pauses): a host whose
// progress callback nobody answers (AutoRun, a client without progress events)
// could otherwise never stop it. The line then fails as if the user stopped it.
constexpr int kCoverRetryRounds = 120;

// How the retry policy pauses. Null restores the platform's sleep; tests put
// a recorder here so a pause costs no time.
using PauseFunction = void (*)(std::uint32_t ms);
void SetRetryPause(PauseFunction pause);

// Runs `line` (executor, then key-batch sender) with the retry policy.
// Record errors go to `answerFile` (null: none). Returns the ResultCode of
// the last attempt, -1 for a batch request, -2 for an empty or comment line.
int TradExecWithRetry(std::string_view line, LineFile* answerFile);

// Clears the register: "#8" and the key batch it queued, results not used.
void ClearEcr();

}  // namespace quadrel
