// The amount keys 33 (command 12), 31 (16), 32 (17) and 34 (80): #1 amount,
// #2 flag for the '$' key first, #3 description on registers that take one.
// 8 outside the REG position; 265 for an amount that cannot be keyed
// (CheckKeyedFields).
#pragma once

namespace quadrel {

int CmdAmountKey33();
int CmdAmountKey31();
int CmdAmountKey32();
int CmdAmountKey34();

}  // namespace quadrel
