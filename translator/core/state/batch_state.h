// What one EcrCmd call shares between the batch runner and the retry policy:
// the line being run, how far through the file it is, and the two ways a
// batch ends early (the policy's StopBatch and the host's abort indicator).
#pragma once

namespace quadrel {

struct BatchRunState {
  int lineNumber = 0;     // lines read so far, comments included
  int executedLines = 0;  // lines that were neither empty nor comments
  int percent = 0;        // of the batch file read so far, 0..100
  int StopBatch = 0;      // set by the retry policy to end the batch after this line
  int abortIndicator = 0; // its address goes with every progress call; the host sets 1 to stop
};

// Reset by every EcrCmd call.
BatchRunState& BatchRun();

}  // namespace quadrel
