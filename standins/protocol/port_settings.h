// What the library reads from a logical port's key, and what follows from the
// port type: the kind of line and the protocol type the translator is told.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace prot {

constexpr int kMaxRegisters = 24;
// Protocol types of the scale ports: a device that takes only the host
// requests -77 to -79; the networked one is reached through a connection.
constexpr int kDeviceProtocol = 5;
constexpr int kDeviceProtocolConnecting = 6;

enum class LineKind { Tcp, Serial };

struct PortSettings {
  std::string portType;
  LineKind line = LineKind::Tcp;
  // Ethernet types
  std::string address;  // ECRIP
  std::uint16_t tcpPort = 0;
  // serial types
  std::string serialPort;  // "COM1" ...
  std::uint32_t speed = 9600;
  bool dsrCheck = false;
  bool ctsCheck = false;
  // registers on the line: index r (1..24) is register r
  std::array<bool, kMaxRegisters + 1> present{};
  int registerCount = 1;
  int protocolType = 0;
  // protocol log
  std::string logFile;
  bool logOn = false;
  int answerTimeoutMs = 3000;
};

bool IsEthernetPortType(const std::string& portType);

// Fills `out` from the values read (name -> text, missing = absent). False
// with `error` set when a value the type needs is missing or malformed.
struct PortKeyValues {
  virtual ~PortKeyValues() = default;
  virtual bool Read(const char* name, std::string& value) const = 0;
};
bool ParsePortSettings(const PortKeyValues& key, PortSettings& out, std::string& error);

// Reads HKLM\keyPath; false with `error` when the key has no PortType.
bool ReadPortSettings(const char* keyPath, PortSettings& out, std::string& error);

}  // namespace prot
