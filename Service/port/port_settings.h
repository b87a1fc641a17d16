// What the driver reads from a logical port's key (HKLM, read only).
#pragma once

#include <string>

#include "interfaces/registry.h"

namespace ravelin {


// The key of logical port n: the ports key + n in decimal.
std::string PortKeyPath(int portNumber);

// A string value of HKLM\keyPath; empty when the key or the value is missing,
// is not a string, or is longer than a port setting can be (255 characters).
std::string ReadPortKeyText(const std::string& keyPath, const char* valueName);

// "PortType" of the port key.
std::string ReadPortType(const std::string& keyPath);

}  // namespace ravelin
