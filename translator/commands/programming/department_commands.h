// Commands 31 and 32: one department, one record of table 2.
#pragma once

namespace quadrel {

int CmdProgramDepartment();
int CmdProgramTable2();

}  // namespace quadrel
