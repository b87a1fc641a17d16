// Commands 24 and 124: one field record for key 180 or 188 (a text, a number
// with its prefix, a second number).
#pragma once

namespace quadrel {

// #1 number (keyed after its prefix #3), #2 second number (required with #1,
// else 266), #4 text. The configuration is read first (its error returned);
// 5 on a register without the function, 6 when it is not idle, 8 outside the
// REG position.
int CmdFieldRecord180();
int CmdFieldRecord188();

}  // namespace quadrel
