// Keys assigned to keyboard positions: the code of a position on the first
// (43) or second (54) key map, and the key sequence of a macro key.
#pragma once

namespace quadrel {

// Fields: #1 position 1..80, #2 key code 0..255 (required; a bare flag or
// out of range gives 265), #3 the sequence of a macro key (codes 200..239):
// blank-separated numbers or labels, a last 255 is an end mark and not sent.
int CmdProgramKey();
// As CmdProgramKey on the second key map; 5 on a register without it.
int CmdProgramKey2();

}  // namespace quadrel
