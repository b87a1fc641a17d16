// Single keys: any key with an entry or a text before it (9), and the key
// position (15).
#pragma once

namespace quadrel {

// Command 9: #1 a number (digits and at most one point, else 265), or when #1 is empty a text field of #2, a
// zero byte and #3 (the zero only after a non-empty #2); then the key whose code is #4 (0..255, empty 0;
// anything else 265).
int CmdPressKey();

// Command 15: #1 position number, or one of the bare flags #2..#5 for
// positions 1..4 (written back into #1); 265 without a position or for one
// that is not a whole number.
int CmdSetKeyPosition();

}  // namespace quadrel
