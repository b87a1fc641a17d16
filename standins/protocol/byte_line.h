// A byte stream to the register: a TCP connection or a serial port.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "port_settings.h"

namespace prot {

class ByteLine {
 public:
  virtual ~ByteLine() = default;
  // Every byte or false (the line is then to be treated as lost).
  virtual bool Send(std::span<const std::uint8_t> bytes) = 0;
  // Bytes read (> 0), 0 when nothing came within `timeoutMs`, < 0 when the line is lost.
  virtual int Receive(std::uint8_t* buffer, int size, int timeoutMs) = 0;
};

// Connects within a bounded time; null with `error` set when it cannot.
std::unique_ptr<ByteLine> OpenTcpLine(const std::string& address, std::uint16_t port, std::string& error);
std::unique_ptr<ByteLine> OpenSerialLine(const PortSettings& settings, std::string& error);

inline std::unique_ptr<ByteLine> OpenLine(const PortSettings& settings, std::string& error) {
  return settings.line == LineKind::Tcp ? OpenTcpLine(settings.address, settings.tcpPort, error)
                                        : OpenSerialLine(settings, error);
}

}  // namespace prot
