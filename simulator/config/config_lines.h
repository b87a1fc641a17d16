// The control lines that give a register of a running simulator a whole
// configuration: how a test hands a configuration it built in code to the
// ecrsim program, over the control channel or in a configuration file.
#pragma once

#include <string>
#include <vector>

#include "config/register_config.h"

namespace ecrsim {

// "register N" anew (a fresh register: empty tables, nothing printed), then
// every area of `config` set byte for byte, in lines the control channel takes.
std::vector<std::string> ConfigLines(int number, const RegisterConfig& config);

}  // namespace ecrsim
