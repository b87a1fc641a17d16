// Command 30: moves whole register files between the register and text files.
#pragma once

namespace quadrel {

int CmdFileTransfer();

}  // namespace quadrel
