// Command 36: the register's options keyed into table 7, one record for
// each option the register has, in the order of their numbers.
#pragma once

namespace quadrel {

// Fields #1..#27: option 1 a text of at most three characters, options
// 2, 7, 13, 21 and 22 numbers, option 17 four hexadecimal digits, option 27
// a digit or a text of up to eight lines of 16 characters, the others
// digits ("2" yes, "1" no). Reads the
// option block first (4 when that fails); it is read again once the
// records are sent, so the kept copy shows the new options.
int CmdProgramOptions();

}  // namespace quadrel
