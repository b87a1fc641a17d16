// The system's TCP sockets behind the mail client's socket calls.
#include "mail/smtp/smtp_sockets.h"

#include <openssl/ssl.h>

namespace quadrel {
namespace {

class SystemSockets final : public SmtpSockets {
 public:
  platform::SocketHandle Open() override { return platform::OpenTcpSocket(); }
  bool MakeNonBlocking(platform::SocketHandle socket) override { return platform::MakeNonBlocking(socket); }
  void Close(platform::SocketHandle socket) override { platform::CloseSocket(socket); }
  platform::ConnectStart StartConnect(platform::SocketHandle socket, std::uint32_t address,
                                      std::uint16_t port) override {
    return platform::StartConnect(socket, address, port);
  }
  platform::WaitResult WaitConnected(platform::SocketHandle socket, std::uint32_t timeoutMs) override {
    return platform::WaitConnected(socket, timeoutMs);
  }
  platform::WaitResult Wait(platform::SocketHandle socket, bool forRead, bool forWrite,
                            std::uint32_t timeoutMs) override {
    return platform::WaitSocket(socket, forRead, forWrite, timeoutMs);
  }
  long Send(platform::SocketHandle socket, const char* data, std::size_t length) override {
    return platform::SendSome(socket, data, length);
  }
  long Receive(platform::SocketHandle socket, char* buffer, std::size_t capacity) override {
    return platform::ReceiveSome(socket, buffer, capacity);
  }
  bool PeerAddressText(platform::SocketHandle socket, std::string& text) override {
    return platform::PeerAddressText(socket, text);
  }
  bool BindTls(ssl_st* session, platform::SocketHandle socket) override {
    return SSL_set_fd(session, static_cast<int>(socket)) == 1;
  }
};

}  // namespace

SmtpSockets& SystemSmtpSockets() {
  static SystemSockets sockets;
  return sockets;
}

}  // namespace quadrel
