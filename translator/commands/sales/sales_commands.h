// The sale of an item (10), a payment (11) and a sale with its payment in one
// record (60), keyed as an operator would key them.
#pragma once

namespace quadrel {

// The quantities, prices and amounts of all three are checked first
// (CheckKeyedFields): 265 with nothing queued when one cannot be keyed.

// Command 10: #1 department, #2 article code (one of them required, else
// 269), #3 quantity and #4 price before keys 27 and 26, #5 and #6 flags for keys 28
// and 59, #7 description. Outside the REG position 8 unless the sales switch
// or AlwayMaxSpeedFP is on; with either on the whole sale is one record,
// otherwise a record per key.
int CmdSellItem();

// Command 11: #1 payment type (default 1), #2 amount. 8 outside the REG
// position (as for 10), 15 without an open transaction, 265 for a type that
// is not a number.
int CmdPayment();

// Command 60: #1 number for key 169 (default 0), #2 department (required,
// else 269), #3-#7 as in 10, #11 payment type (default 1, over 10 gives 265),
// #12 amount tendered; one record of at most 120 bytes (else 31). 5 on a
// register without the function, 6 when it is not idle.
int CmdSellItemAndPay();

}  // namespace quadrel
