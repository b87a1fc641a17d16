// Sends the key records a handler queued, after the handler has returned.
#pragma once

#include "files/line_file.h"

namespace quadrel {

// `code` is the handler's result (or the executor's): -1 and -2 come back
// unchanged, a failure is counted when final and returned. With code 0 every
// queued record is sent in order; a failed record does not stop the others
// unless the handler set StopOnRecordError. Record errors and critical states
// are written to `answerFile` (null: none) as result-text lines. Returns 0,
// 16 when a record failed, 32 when the register asks for confirmation and
// StopOnConfirm is on, 31 for a queue that overflowed, 11 when the capture
// file did not take every line, or the error that stopped the batch. On
// every path the output settings a command changed are written back and the
// capture file is closed. Once the register took Executor().CommitRecord,
// NoRetry is set.
int SendKeyBatch(int code, LineFile* answerFile, int retriesLeft);

}  // namespace quadrel
