// Command 33: one VAT rate programmed through the register's programming
// keys (table 3), queued as key records.
#pragma once

namespace quadrel {

// Fields: #1 rate number, #2 rate value, #5 and #6 the numbers that choose
// the slot on model 'M' registers (V + b + 7 for #6 = b, else V + a for
// #5 = a, else #1), V being the register's number of rates. A slot outside
// the register's rates, or a field that is not a whole number, gives 265.
int CmdProgramVatRate();

}  // namespace quadrel
