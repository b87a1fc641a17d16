// Command 73: compares the client's amount with the register's current
// amount and, when they differ, clears the register's entry.
#pragma once

namespace quadrel {

// #1 the amount (a decimal number, 266 when missing). 0 when it matches; 265
// after the clearing keys when it does not; the register's amount is the
// result text. 265 before any frame for an amount that is not a decimal
// number with at most the register's decimals and 18 digits once scaled.
int CmdCheckAmount();

}  // namespace quadrel
