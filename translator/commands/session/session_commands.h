// The small session commands: the clear key (8), the '$' key (18), and the
// programming session that command 1 opens and command 2 closes.
#pragma once

#include "language/result_codes.h"

namespace quadrel {

// Command 8: queues the clear key ('A' 0); a failing clear ends the send. 0.
int CmdClearKey();

// Command 18: queues the '$' key ('A' '$'); a failing record ends the send. 0.
int CmdDollarKey();

// Command 1: on an idle register with its configuration read, queues the key
// position of programming ('A' 0 0 4 14), with #1 as a bare flag also the
// programming function number, and with #2 (output-setting bits 0-2) the
// 'O' 14 record on registers that have that function. The session opens
// (ProgSessionState -1) and becomes usable once the records went through.
// 0, 6 when the register is not idle, 22 for a #2 that is not a whole
// number, or the configuration read's code.
int CmdOpenProgSession();

// Command 2: queues the key that leaves programming ('A' 146) unless the
// register is idle, and closes the session in every case. 0.
int CmdCloseProgSession();

// Forgets the programming session and its function flag (commands 2 and 5).
void EndProgSession();

}  // namespace quadrel
