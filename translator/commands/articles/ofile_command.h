// Command 52: writes one record of the register's O-file, whole or over the
// stored one.
#pragma once

namespace quadrel {

int CmdOFileRecord();

}  // namespace quadrel
