#include <winsock2.h>
#include <ws2tcpip.h>

#include "byte_line.h"

namespace prot {
namespace {

constexpr int kConnectTimeoutMs = 2000;
constexpr int kSendTimeoutMs = 5000;

class WinsockUser {
 public:
  WinsockUser() {
    WSADATA data;
    ok_ = WSAStartup(MAKEWORD(2, 2), &data) == 0;
  }
  ~WinsockUser() {
    if (ok_) WSACleanup();
  }
  bool ok() const { return ok_; }

 private:
  bool ok_ = false;
};

timeval Timeval(int ms) { return {ms / 1000, (ms % 1000) * 1000}; }

class TcpLine final : public ByteLine {
 public:
  explicit TcpLine(SOCKET socket) : socket_(socket) {}
  ~TcpLine() override { closesocket(socket_); }

  bool Send(std::span<const std::uint8_t> bytes) override {
    std::size_t sent = 0;
    while (sent < bytes.size()) {
      const int n = send(socket_, reinterpret_cast<const char*>(bytes.data() + sent),
                         static_cast<int>(bytes.size() - sent), 0);
      if (n <= 0) return false;
      sent += static_cast<std::size_t>(n);
    }
    return true;
  }

  int Receive(std::uint8_t* buffer, int size, int timeoutMs) override {
    fd_set readable;
    FD_ZERO(&readable);
    FD_SET(socket_, &readable);
    timeval wait = Timeval(timeoutMs);
    const int ready = select(0, &readable, nullptr, nullptr, &wait);
    if (ready < 0) return -1;
    if (ready == 0) return 0;
    const int n = recv(socket_, reinterpret_cast<char*>(buffer), size, 0);
    return n > 0 ? n : -1;
  }

 private:
  WinsockUser winsock_;
  SOCKET socket_;
};

// A non-blocking connect bounded by kConnectTimeoutMs, then a blocking socket
// whose sends are bounded too.
SOCKET ConnectBounded(const sockaddr_in& address) {
  SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  if (s == INVALID_SOCKET) return s;
  u_long nonBlocking = 1;
  ioctlsocket(s, FIONBIO, &nonBlocking);
  bool connected = connect(s, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
  if (!connected && WSAGetLastError() == WSAEWOULDBLOCK) {
    fd_set writable, failed;
    FD_ZERO(&writable);
    FD_SET(s, &writable);
    FD_ZERO(&failed);
    FD_SET(s, &failed);
    timeval wait = Timeval(kConnectTimeoutMs);
    connected = select(0, nullptr, &writable, &failed, &wait) == 1 && FD_ISSET(s, &writable);
  }
  if (!connected) {
    closesocket(s);
    return INVALID_SOCKET;
  }
  nonBlocking = 0;
  ioctlsocket(s, FIONBIO, &nonBlocking);
  const DWORD sendTimeout = kSendTimeoutMs;
  setsockopt(s, SOL_SOCKET, SO_SNDTIMEO, reinterpret_cast<const char*>(&sendTimeout), sizeof sendTimeout);
  const BOOL noDelay = TRUE;
  setsockopt(s, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&noDelay), sizeof noDelay);
  return s;
}

}  // namespace

std::unique_ptr<ByteLine> OpenTcpLine(const std::string& address, std::uint16_t port, std::string& error) {
  WinsockUser winsock;
  if (!winsock.ok()) {
    error = "sockets unavailable";
    return nullptr;
  }
  sockaddr_in target{};
  target.sin_family = AF_INET;
  target.sin_port = htons(port);
  if (inet_pton(AF_INET, address.c_str(), &target.sin_addr) != 1) {
    error = "ECRIP is not a dotted IPv4 address: " + address;
    return nullptr;
  }
  const SOCKET s = ConnectBounded(target);
  if (s == INVALID_SOCKET) {
    error = "cannot connect to " + address + ":" + std::to_string(port);
    return nullptr;
  }
  return std::make_unique<TcpLine>(s);
}

}  // namespace prot
