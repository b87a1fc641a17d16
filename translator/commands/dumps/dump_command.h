// Command 3: a register file written into a text file on the computer, as
// command lines that replay as a batch.
#pragma once

namespace quadrel {

int CmdDumpRegisterFile();

}  // namespace quadrel
