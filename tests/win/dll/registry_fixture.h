// Writes and removes values of the translator's settings key in the prefix's
// real registry, so tests see what an installed system would.
#pragma once

#include <string>

#include "interfaces/registry.h"

namespace registry_fixture {


void SetMachineValue(const char* name, const std::string& value);
void DeleteMachineValue(const char* name);

}  // namespace registry_fixture
