// Every numbered command of the language: one row each with its handler and
// the flags that decide the executor's checks. Adding a command touches its
// row here, its family folder and its test.
#pragma once

#include <span>

#include "run/command_rows.h"

namespace quadrel {

std::span<const CommandRow> CommandTable();

}  // namespace quadrel
