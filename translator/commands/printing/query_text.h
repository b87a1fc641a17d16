// Command 49: a text the caller receives in place of "OK." on success.
#pragma once

namespace quadrel {

// #1 a result code: its result text; or #2 as a bare flag: the current
// working directory (24 when it cannot be read or is longer than 256
// bytes, or when #2 is anything else). 22 for a #1 that is not a number.
// Without either, nothing is set.
int CmdQueryText();

}  // namespace quadrel
