// Command 34: the register's header lines and its nine-digit line, keyed in
// only when they differ from what the register holds.
#pragma once

namespace quadrel {

int CmdProgramHeaderLine();

}  // namespace quadrel
