// The nine port types as the form sees them: the kind that decides which
// media fields are shown and which values a port stores, the media group's
// caption, and the TCP port a type gets by default.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "interfaces/port_type_names.h"

namespace lathwell {

enum class PortKind { Serial, Rs485, Modem, Ethernet, Scale };

struct PortTypeRow {
  const char* name;  // the PortType value
  PortKind kind;
  const char* mediaCaption;
  const char* defaultEcrPort;  // Ethernet types: the TCP port set when the type is chosen
};

inline constexpr std::array<PortTypeRow, 9> kPortTypes{{
    {port_types::kRs232, PortKind::Serial, " Parametri RS-232 ", ""},
    {port_types::kRs485, PortKind::Rs485, " Parametri RS-485 ", ""},
    {port_types::kModem, PortKind::Modem, " Parametri Modem ", ""},
    {port_types::kEthernetHostPc, PortKind::Ethernet, " Parametri Ethernet", "1470"},
    {port_types::kEthernetXonXoffTipo2, PortKind::Ethernet, " Parametri Ethernet", "1470"},
    {port_types::kBilancia, PortKind::Scale, " Parametri Bilancia", ""},
    {port_types::kEthernetBilancia, PortKind::Ethernet, " Parametri Ethernet", "2551"},
    {port_types::kRs232UsbRt, PortKind::Serial, " Parametri RS-232 ", ""},
    {port_types::kEthernetRt, PortKind::Ethernet, " Parametri Ethernet", "12345"},
}};

// The caption of a port without a known type.
inline constexpr const char* kUndefinedMediaCaption = " Parametri non definiti ";

// Which media fields the form shows. The used port is a text while browsing
// and a list while editing; the shared text field serves the net definition
// and the modem string.
struct MediaLayout {
  bool usedPort = false;
  bool protocol = false;
  bool speed = false;
  bool netDefinition = false;
  bool modemString = false;
  bool network = false;
  bool lineChecks = false;   // DSR and CTS
  bool lineOptions = false;  // On Line and Echo
  bool operator==(const MediaLayout&) const = default;
};

// The row of a type name; null for an empty or unknown name.
const PortTypeRow* FindPortType(std::string_view name);

// Whether `name` is a known type of that kind.
bool IsPortKind(std::string_view name, PortKind kind);

// The layout of a kind.
MediaLayout LayoutOf(PortKind kind);

// A port without a known type: nothing of a kind, the line options shown;
// the network fields and line checks keep what `current` shows.
MediaLayout UntypedLayout(MediaLayout current);

// A stored Ethernet port without a TCP port is shown with this one.
std::string StoredEcrPortFallback(std::string_view typeName);

}  // namespace lathwell
