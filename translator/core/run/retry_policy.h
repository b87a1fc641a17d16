// Which failures the retry policy tries again, so that the key-batch sender
// counts and reports each failure exactly once: on its final attempt.
#pragma once

namespace quadrel {

// 1 when `code` will not be tried again with `retriesLeft` attempts left, 0
// when the retry policy runs the line again. Class 0x400 is retried when
// RetryOn8XXX or RetryOn16XXX is on, class 0x1000 when RetryOn16XXX is on,
// and of class 0x800 only 2055 ("8/7") when RetryOn8XXX is on.
int IsFinalFailure(int code, int retriesLeft);

// Adds a final failure to the run's counters: register classes (0x200, 0x400,
// 0x800, 0x1000) to EcrErrorCount, all others to ErrorCount.
void CountFailure(int code);

}  // namespace quadrel
