#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>

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

}  // namespace

bool Startup() {
  return true;
}
void Cleanup() {}

Socket ListenLoopback(std::uint16_t port, std::uint16_t& boundPort) {
  const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  if (fd < 0) return kNoSocket;
  const int yes = 1;
  ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
  sockaddr_in address = Loopback(port);
  socklen_t length = sizeof address;
  if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || ::listen(fd, 8) != 0 ||
      ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    ::close(fd);
    return kNoSocket;
  }
  boundPort = ntohs(address.sin_port);
  return fd;
}

Socket AcceptClient(Socket listener) {
  const int fd = ::accept(static_cast<int>(listener), nullptr, nullptr);
  return fd < 0 ? kNoSocket : fd;
}

Socket ConnectLoopback(std::uint16_t port) {
  const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  if (fd < 0) return kNoSocket;
  sockaddr_in address = Loopback(port);
  if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
    ::close(fd);
    return kNoSocket;
  }
  return fd;
}

long Receive(Socket socket, std::uint8_t* buffer, std::size_t size) {
  return static_cast<long>(::recv(static_cast<int>(socket), buffer, size, 0));
}

bool SendAll(Socket socket, std::span<const std::uint8_t> bytes) {
  while (!bytes.empty()) {
    const ssize_t sent = ::send(static_cast<int>(socket), bytes.data(), bytes.size(), MSG_NOSIGNAL);
    if (sent <= 0) return false;
    bytes = bytes.subspan(static_cast<std::size_t>(sent));
  }
  return true;
}

void CloseSocket(Socket socket) {
  if (socket != kNoSocket) ::close(static_cast<int>(socket));
}

bool WaitReadable(std::span<const Socket> sockets, std::vector<bool>& readable, int timeoutMs) {
  std::vector<pollfd> polls;
  for (Socket s : sockets) polls.push_back({static_cast<int>(s), POLLIN, 0});
  const int ready = ::poll(polls.data(), polls.size(), timeoutMs);
  readable.assign(sockets.size(), false);
  // A signal (the stop signal among them) cuts the wait short: nothing to read, no failure.
  if (ready < 0) return errno == EINTR;
  for (std::size_t i = 0; i < polls.size(); ++i) readable[i] = polls[i].revents != 0;
  return true;
}

}  // namespace ecrsim::net
