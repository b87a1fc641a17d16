// Command 55: a logo into one of the register's three logo slots, from a
// .BIN file (the register's own format) or a .GRA picture packed on the way;
// optionally the logo print settings first.
#pragma once

#include <string>

namespace quadrel {

// The extension of a file name: what follows the first '.' of its last path
// component ("" without one).
std::string LogoFileExtension(const std::string& fileName);

// Command 55: #1 slot 1-3 (default 1), #2 file, #3 flag: print settings #4
// (default 75) and #5 (default 0) first, #6 flag: the first chunk marked.
// 0, 11 (file), 33 (register memory full), 265, 280 (no logos on the
// register) or the exchange's error.
int CmdUploadLogo();

}  // namespace quadrel
