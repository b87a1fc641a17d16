// The simulator's control language: one command a line, for the control
// channel of the ecrsim program and for configuration files. Every reply is
// zero or more lines of output and then "OK" or "ERROR <reason>", each line
// ending with "\n". The commands are listed in README.md.
#pragma once

#include <string>
#include <string_view>

#include "simulator.h"

namespace ecrsim {

constexpr std::size_t kMaxControlLine = 4096;

std::string RunControlLine(Simulator& sim, std::string_view line);

// Configuration files hold the commands that shape registers (register,
// remove, set, status) and "#" comments. On failure `error` names the line.
bool LoadConfigText(Simulator& sim, std::string_view text, std::string& error);
bool LoadConfigFile(Simulator& sim, const std::string& path, std::string& error);

}  // namespace ecrsim
