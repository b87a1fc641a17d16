#include <winsock2.h>
#include <ws2tcpip.h>

#include "server/net_socket.h"

namespace ecrsim::net {
namespace {

sockaddr_in Loopback(std::uint16_t port) {
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(port);
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  return address;
}

SOCKET Native(Socket socket) {
  return static_cast<SOCKET>(socket);
}
Socket Portable(SOCKET socket) {
  return socket == INVALID_SOCKET ? kNoSocket : static_cast<Socket>(socket);
}

}  // namespace

bool Startup() {
  WSADATA data;
  return WSAStartup(MAKEWORD(2, 2), &data) == 0;
}

void Cleanup() {
  WSACleanup();
}

Socket ListenLoopback(std::uint16_t port, std::uint16_t& boundPort) {
  const SOCKET s = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  if (s == INVALID_SOCKET) return kNoSocket;
  sockaddr_in address = Loopback(port);
  int length = sizeof address;
  if (::bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || ::listen(s, 8) != 0 ||
      ::getsockname(s, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    ::closesocket(s);
    return kNoSocket;
  }
  boundPort = ntohs(address.sin_port);
  return Portable(s);
}

Socket AcceptClient(Socket listener) {
  return Portable(::accept(Native(listener), nullptr, nullptr));
}

Socket ConnectLoopback(std::uint16_t port) {
  const SOCKET s = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  if (s == INVALID_SOCKET) return kNoSocket;
  sockaddr_in address = Loopback(port);
  if (::connect(s, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
    ::closesocket(s);
    return kNoSocket;
  }
  return Portable(s);
}

long Receive(Socket socket, std::uint8_t* buffer, std::size_t size) {
  return ::recv(Native(socket), reinterpret_cast<char*>(buffer), static_cast<int>(size), 0);
}

bool SendAll(Socket socket, std::span<const std::uint8_t> bytes) {
  while (!bytes.empty()) {
    const int sent = ::send(Native(socket), reinterpret_cast<const char*>(bytes.data()),
                            static_cast<int>(bytes.size()), 0);
    if (sent <= 0) return false;
    bytes = bytes.subspan(static_cast<std::size_t>(sent));
  }
  return true;
}

void CloseSocket(Socket socket) {
  if (socket != kNoSocket) ::closesocket(Native(socket));
}

bool WaitReadable(std::span<const Socket> sockets, std::vector<bool>& readable, int timeoutMs) {
  readable.assign(sockets.size(), false);
  fd_set set;
  FD_ZERO(&set);
  for (std::size_t i = 0; i < sockets.size() && i < FD_SETSIZE; ++i) FD_SET(Native(sockets[i]), &set);
  timeval timeout{timeoutMs / 1000, (timeoutMs % 1000) * 1000};
  const int ready = ::select(0, &set, nullptr, nullptr, &timeout);
  if (ready == SOCKET_ERROR) return false;  // also for an empty set, which select refuses
  for (std::size_t i = 0; i < sockets.size(); ++i) readable[i] = FD_ISSET(Native(sockets[i]), &set) != 0;
  return true;
}

}  // namespace ecrsim::net
