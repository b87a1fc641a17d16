#include "port_settings.h"

#include <charconv>

#include "interfaces/port_type_names.h"
#include "interfaces/registry.h"
#include "platform/platform.h"

namespace prot {
namespace {

constexpr std::size_t kMaxValueBytes = 256;
constexpr int kMinAnswerTimeoutMs = 50;
constexpr int kMaxAnswerTimeoutMs = 60000;

bool ParseUnsigned(const std::string& text, unsigned long maxValue, unsigned long& value) {
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  return ec == std::errc() && end == text.data() + text.size() && value <= maxValue;
}

std::string ValueOr(const PortKeyValues& key, const char* name, const char* fallback) {
  std::string value;
  return key.Read(name, value) ? value : fallback;
}

bool ParseEthernet(const PortKeyValues& key, PortSettings& out, std::string& error) {
  out.line = LineKind::Tcp;
  out.address = ValueOr(key, registry::kEcrIp, "");
  unsigned long port = 0;
  if (out.address.empty()) {
    error = "ECRIP missing";
    return false;
  }
  if (!ParseUnsigned(ValueOr(key, registry::kEcrPortNumber, ""), 65535, port) || port == 0) {
    error = "ECRPortNumber missing or not a TCP port";
    return false;
  }
  out.tcpPort = static_cast<std::uint16_t>(port);
  return true;
}

bool ParseSerial(const PortKeyValues& key, PortSettings& out, std::string& error) {
  out.line = LineKind::Serial;
  out.serialPort = ValueOr(key, registry::kSerialPort, "");
  if (out.serialPort.size() < 4 || out.serialPort.compare(0, 3, "COM") != 0) {
    error = "Port missing or not a COM port";
    return false;
  }
  unsigned long speed = 0;
  if (!ParseUnsigned(ValueOr(key, registry::kSpeed, registry::kDefaultSpeed), 921600, speed) || speed == 0) {
    error = "Speed is not a baud rate";
    return false;
  }
  out.speed = static_cast<std::uint32_t>(speed);
  out.dsrCheck = ValueOr(key, registry::kDsrCheck, "0") == "1";
  out.ctsCheck = ValueOr(key, registry::kCtsCheck, "0") == "1";
  return true;
}

// RS-485: position k of NetDef is register k + 1; the count is the highest present.
bool ParseNetDef(const PortKeyValues& key, PortSettings& out, std::string& error) {
  const std::string netDef = ValueOr(key, registry::kNetDef, "");
  if (netDef.size() != kMaxRegisters || netDef.find_first_not_of("01") != std::string::npos) {
    error = "NetDef is not 24 characters 0 or 1";
    return false;
  }
  out.present.fill(false);
  out.registerCount = 0;
  for (int k = 0; k < kMaxRegisters; ++k) {
    if (netDef[static_cast<std::size_t>(k)] != '1') continue;
    out.present[static_cast<std::size_t>(k + 1)] = true;
    out.registerCount = k + 1;
  }
  return true;
}

}  // namespace

bool IsEthernetPortType(const std::string& portType) {
  return portType == "EthernetHostPC" || portType == "EthernetXonXoffTipo2" || portType == "EthernetBilancia" ||
         portType == "Ethernet-RT";
}

bool ParsePortSettings(const PortKeyValues& key, PortSettings& out, std::string& error) {
  out = PortSettings{};
  if (!key.Read(registry::kPortType, out.portType) || out.portType.empty()) {
    error = "PortType missing";
    return false;
  }
  out.present[1] = true;
  if (!(IsEthernetPortType(out.portType) ? ParseEthernet(key, out, error) : ParseSerial(key, out, error))) {
    return false;
  }
  if (out.portType == "RS485") {
    if (!ParseNetDef(key, out, error)) return false;
    out.protocolType = 1;  // several registers on one line
  } else if (out.portType == "Modem") {
    out.protocolType = 3;  // a connection that command 5 opens and closes
  } else if (out.portType == port_types::kBilancia) {
    out.protocolType = kDeviceProtocol;
  } else if (out.portType == port_types::kEthernetBilancia) {
    out.protocolType = kDeviceProtocolConnecting;
  }
  out.logFile = ValueOr(key, registry::kLogFileName, "");
  out.logOn = ValueOr(key, registry::kLogLevel, "0") == "1" && !out.logFile.empty();
  unsigned long timeout = 0;
  if (ParseUnsigned(ValueOr(key, registry::kAnswerTimeout, ""), kMaxAnswerTimeoutMs, timeout) &&
      timeout >= kMinAnswerTimeoutMs) {
    out.answerTimeoutMs = static_cast<int>(timeout);
  }
  return true;
}

bool ReadPortSettings(const char* keyPath, PortSettings& out, std::string& error) {
  struct RegistryKey final : PortKeyValues {
    std::string path;
    bool Read(const char* name, std::string& value) const override {
      return platform::ReadSettingText(platform::SettingsRoot::LocalMachine, path, name, kMaxValueBytes, value);
    }
  } key;
  key.path = keyPath ? keyPath : "";
  return ParsePortSettings(key, out, error);
}

}  // namespace prot
