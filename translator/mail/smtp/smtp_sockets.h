// The mail client's road to its server: the socket calls CSmtp makes and the
// binding of a TLS session to its connection. The system's sockets serve the
// product; tests put a byte stream of their own behind it.
#pragma once

#include <cstdint>
#include <string>

#include "platform/sockets.h"

struct ssl_st;

namespace quadrel {

class SmtpSockets {
 public:
  virtual ~SmtpSockets() = default;
  virtual platform::SocketHandle Open() = 0;  // kNoSocket on failure
  virtual bool MakeNonBlocking(platform::SocketHandle socket) = 0;
  virtual void Close(platform::SocketHandle socket) = 0;
  virtual platform::ConnectStart StartConnect(platform::SocketHandle socket, std::uint32_t address,
                                              std::uint16_t port) = 0;
  virtual platform::WaitResult WaitConnected(platform::SocketHandle socket, std::uint32_t timeoutMs) = 0;
  virtual platform::WaitResult Wait(platform::SocketHandle socket, bool forRead, bool forWrite,
                                    std::uint32_t timeoutMs) = 0;
  // One send or receive; negative on error.
  virtual long Send(platform::SocketHandle socket, const char* data, std::size_t length) = 0;
  virtual long Receive(platform::SocketHandle socket, char* buffer, std::size_t capacity) = 0;
  virtual bool PeerAddressText(platform::SocketHandle socket, std::string& text) = 0;
  // Lets `session` carry its records over the connection.
  virtual bool BindTls(ssl_st* session, platform::SocketHandle socket) = 0;
};

// The system's TCP sockets.
SmtpSockets& SystemSmtpSockets();

}  // namespace quadrel
