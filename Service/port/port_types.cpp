#include "port/port_types.h"

#include <array>

namespace ravelin {
namespace {

struct PortTypeEntry {
  std::string_view portType;
  std::string_view library;
  bool telematic;
};

constexpr std::array<PortTypeEntry, 8> kPortTypeTable{{
    {"RS485", "Sarnel", false},
    {"RS232", "Teviot", false},
    {"EthernetHostPC", "Lunsk", false},
    {"EthernetXonXoffTipo2", "Pelvar", false},
    {"Bilancia", "Ostrum", false},
    {"EthernetBilancia", "Ostrum", false},
    {"Ethernet-RT", "Cadwick", true},
    {"RS232USB-RT", "Cadwick", true},
}};

}  // namespace

ProtocolLibraryChoice ProtocolLibraryFor(std::string_view portType) {
  for (const PortTypeEntry& entry : kPortTypeTable) {
    if (entry.portType == portType) return {std::string(entry.library) + ".dll", entry.telematic};
  }
  return {std::string(portType) + ".dll", false};
}

bool IsTelematicPortType(std::string_view portType) { return ProtocolLibraryFor(portType).telematic; }

}  // namespace ravelin
