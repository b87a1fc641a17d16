// Command 25: the key sequences of keys 158 and 159 that open, continue and
// close a document.
#pragma once

namespace quadrel {

// #1 number, #2 bare flag: 'A' #1 158 158 on an idle register (needs #1,
// else 266); #3 bare flag: 'A' 158 inside an open transaction (else 15);
// otherwise #4 kind (0..3 or 9, else 265; a bare flag keys no number) with
// the document lines #5..#8 for kinds 2 and 3, then 'A' #1 158 and 'A' kind
// 159 on an idle register (else 6). 5 on a register without the function.
int CmdKey158Sequence();

}  // namespace quadrel
