// Command 73: compares the client's amount with the register's current
// amount and, when they differ, clears the register's entry.
#pragma once

namespace quadrel {

// #1 the amount (a decimal number). 0 when it matches; 265 after the
// clearing keys when it does not; the register's amount is the result text.
int CmdCheckAmount();

}  // namespace quadrel
