// Commands 35, 39, 40 and 41: one modifier, one record of tables 15, 21
// and 251.
#pragma once

namespace quadrel {

int CmdProgramModifier();
int CmdProgramTable15();
int CmdProgramTable21();
int CmdProgramTable251();

}  // namespace quadrel
