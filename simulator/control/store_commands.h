// The control commands over a register's electronic journal and XML store:
// the clock and closure number the next documents are stamped with, and the
// daily XML documents tests file directly.
#pragma once

#include <span>
#include <string>

#include "sim_register.h"

namespace ecrsim {

// `verb` is "journal" or "xml", `args` the words after the register number.
// The reply as the control language gives it (output lines, then "OK" or
// "ERROR reason").
std::string RunStoreCommand(SimRegister& reg, const std::string& verb, std::span<const std::string> args);

}  // namespace ecrsim
