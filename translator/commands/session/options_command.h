// Command 48: the translator's run-time options set from a command line.
#pragma once

#include "language/result_codes.h"

namespace quadrel {

// Fields, each handled only when given: #1 working directory, #2
// OutEditOptions 0-3, #3 DataCaptureFormat 1-2, and the switches #4
// StopOnConfirm, #5 WaitReadyMode, #6 SkipStatusForSales, #7
// StopBatchOnError (a bare flag or 2 on, 1 off). An invalid value is skipped
// and the others still apply, except #1 as a bare flag and an invalid #7,
// which end the command at once. 0, or 23 when any value was refused.
int CmdSetOptions();

}  // namespace quadrel
