// Command 29: the register's slave mode on or off, its text and its output
// flags, after making sure the register answers the slave-mode query.
#pragma once

namespace quadrel {

// Fields: #1 given: on; #2 given: off; #3 text; #4 output flags, bits 0..2
// of a whole number (sent only to registers that take them). A register
// that refuses the query with a data error is turned to key position 14 up
// to three times; 8 when it still refuses. A text whose frame would pass the
// frame limit, or flags that are not a whole number from 0 up, give 265
// before any frame.
int CmdSetSlaveMode();

}  // namespace quadrel
