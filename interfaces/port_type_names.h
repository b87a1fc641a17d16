// The nine logical-port types (the PortType value of a port key), written
// once for Lathwell, which offers them in this order, and Ravelin, which picks
// a protocol library by them. Names are compared exactly, case included.
#pragma once

#include <array>

namespace port_types {

inline constexpr char kRs232[] = "RS232";
inline constexpr char kRs485[] = "RS485";
inline constexpr char kModem[] = "Modem";
inline constexpr char kEthernetHostPc[] = "EthernetHostPC";
inline constexpr char kEthernetXonXoffTipo2[] = "EthernetXonXoffTipo2";
inline constexpr char kBilancia[] = "Bilancia";
inline constexpr char kEthernetBilancia[] = "EthernetBilancia";
inline constexpr char kRs232UsbRt[] = "RS232USB-RT";
inline constexpr char kEthernetRt[] = "Ethernet-RT";

// In the order of Lathwell's type list; the first is its default.
inline constexpr std::array<const char*, 9> kAll{kRs232,           kRs485,      kModem,
                                                 kEthernetHostPc,  kEthernetXonXoffTipo2,
                                                 kBilancia,        kEthernetBilancia,
                                                 kRs232UsbRt,      kEthernetRt};

}  // namespace port_types
