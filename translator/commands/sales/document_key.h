// Command 23: a document key ('+', ',' or '-') with an optional number, the
// document's text lines before it and key 187 after it.
#pragma once

namespace quadrel {

// #1 key choice 1..3 (else 9), #2 = 1 adds key 187 (on registers whose
// firmware has it, else 5), #3 number keyed after key 65, #4..#7 text lines
// (for choices 2 and 3 on registers with document texts). The configuration
// is read first (its error returned); 6 when the register is not idle.
int CmdKeyWithTextLines();

}  // namespace quadrel
