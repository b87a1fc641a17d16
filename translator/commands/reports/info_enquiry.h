// Command 71: one information item about the register or the line as the
// command's result text, and optionally as a line of a file.
#pragma once

namespace quadrel {

int CmdInfoEnquiry();

}  // namespace quadrel
