// The nine port types in the order the form lists them, with the caption of
// the media group and the kind that decides which values a port stores.
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace lathwell {

enum class PortKind { Serial, Rs485, Modem, Ethernet, Scale };

struct PortTypeRow {
  const char* name;  // the PortType value; compared exactly, case included
  PortKind kind;
  const char* mediaCaption;
};

inline constexpr std::array<PortTypeRow, 9> kPortTypes{{
    {"RS232", PortKind::Serial, " Parametri RS-232 "},
    {"RS485", PortKind::Rs485, " Parametri RS-485 "},
    {"Modem", PortKind::Modem, " Parametri Modem "},
    {"EthernetHostPC", PortKind::Ethernet, " Parametri Ethernet"},
    {"EthernetXonXoffTipo2", PortKind::Ethernet, " Parametri Ethernet"},
    {"Bilancia", PortKind::Scale, " Parametri Bilancia"},
    {"EthernetBilancia", PortKind::Ethernet, " Parametri Ethernet"},
    {"RS232USB-RT", PortKind::Serial, " Parametri RS-232 "},
    {"Ethernet-RT", PortKind::Ethernet, " Parametri Ethernet"},
}};

// The caption of a port without a known type.
inline constexpr const char* kUndefinedMediaCaption = " Parametri non definiti ";

// The row of a type name; null for an empty or unknown name.
const PortTypeRow* FindPortType(std::string_view name);

// Whether `name` is a known type of that kind.
bool IsPortKind(std::string_view name, PortKind kind);

}  // namespace lathwell
