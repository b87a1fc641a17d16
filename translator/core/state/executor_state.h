// Process-wide state of the command executor and the key-batch sender that
// lives from one command line to the next: what command runs, the session and
// batch flags, the batch request names and the failure counters of a run.
#pragma once

#include <string>

namespace quadrel {

struct ExecutorState {
  int LastCommand = 0;        // 0 while a line is checked; the command once its handler runs
  int StopOnRecordError = 0;  // cleared before every handler; set by a handler to stop at a failed record
  int ProgSessionState = 0;   // 0 closed, -1 opening (set by command 1), 1 open
  int InBatch = 0;            // 1 while the batch runner runs a batch file
  // Set by a handler whose work already reached the register for good (a
  // closure sent): a failure after it is returned without another attempt.
  int NoRetry = 0;
  // The queued key record that does such work (a closure, a resetting
  // report): SendKeyBatch sets NoRetry once the register took it. -1: none;
  // cleared before every handler.
  int CommitRecord = -1;

  // Failures counted by SendKeyBatch; reset by every EcrCmd call. A run ends
  // with "ERRORS DURING EXECUTION OF FILE" when either is above 0.
  int ErrorCount = 0;
  int EcrErrorCount = 0;

  // Names of the last batch request ('@' batch [, result [, third]]).
  std::string BatchFileName;
  std::string ResultFileName;
  std::string TempResultFileName;  // ResultFileName + ".tmp"; empty without a result name
  std::string ThirdName;           // read and kept; nothing uses it
};

ExecutorState& Executor();

}  // namespace quadrel
