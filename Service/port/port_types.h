// Which protocol library serves a logical port, decided by the port's type.
#pragma once

#include <string>
#include <string_view>

namespace ravelin {

struct ProtocolLibraryChoice {
  std::string fileName;  // the library's name followed by ".dll"
  bool telematic = false;  // the "RT" kind: the library also offers GetClient
};

// The maker's library for the known port types; any other type names its own
// library ("Modem" -> "Modem.dll").
ProtocolLibraryChoice ProtocolLibraryFor(std::string_view portType);

// The two telematic port types ("Ethernet-RT", "RS232USB-RT").
bool IsTelematicPortType(std::string_view portType);

}  // namespace ravelin
