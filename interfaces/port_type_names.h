// The names of the nine logical-port types (the PortType value of a port key),
// written once for Lathwell, which lays out its form by them, and Ravelin,
// which picks a protocol library by them. Compared exactly, case included.
#pragma once

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

}  // namespace port_types
