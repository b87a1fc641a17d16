#include "port/port_types.h"

#include <array>

#include "interfaces/port_type_names.h"

namespace ravelin {
namespace {

struct PortTypeEntry {
  std::string_view portType;
  std::string_view library;
  bool telematic;
};

constexpr std::array<PortTypeEntry, 8> kPortTypeTable{{
    {port_types::kRs485, "Sarnel", false},
    {port_types::kRs232, "Teviot", false},
    {port_types::kEthernetHostPc, "Lunsk", false},
    {port_types::kEthernetXonXoffTipo2, "Pelvar", false},
    {port_types::kBilancia, "Ostrum", false},
    {port_types::kEthernetBilancia, "Ostrum", false},
    {port_types::kEthernetRt, "Cadwick", true},
    {port_types::kRs232UsbRt, "Cadwick", true},
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
