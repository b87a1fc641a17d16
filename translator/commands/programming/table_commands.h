// Commands 35, 37, 38, 39, 40 and 41: one modifier, currency or group, one
// record of tables 15, 21 and 251. Currency and group names take at most
// ten characters (265 otherwise).
#pragma once

namespace quadrel {

int CmdProgramModifier();
int CmdProgramCurrency();
int CmdProgramGroup();
int CmdProgramTable15();
int CmdProgramTable21();
int CmdProgramTable251();

}  // namespace quadrel
