#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "../sockets.h"

namespace platform {

bool StartSockets(std::uint16_t& version) {
  version = 0x0202;
  return true;
}

void StopSockets() {}

bool LocalHostName(std::string& name) {
  char buffer[256] = {};
  if (gethostname(buffer, sizeof buffer - 1) != 0) return false;
  name = buffer;
  return true;
}

std::uint16_t ServicePort(const char* service) {
  const servent* entry = getservbyname(service, "tcp");
  return entry ? ntohs(static_cast<std::uint16_t>(entry->s_port)) : 0;
}

bool ResolveIpv4(const std::string& host, std::uint32_t& address) {
  in_addr dotted{};
  if (inet_pton(AF_INET, host.c_str(), &dotted) == 1) {
    address = dotted.s_addr;
    return true;
  }
  addrinfo hints{};
  hints.ai_family = AF_INET;
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* found = nullptr;
  if (getaddrinfo(host.c_str(), nullptr, &hints, &found) != 0 || !found) return false;
  address = reinterpret_cast<sockaddr_in*>(found->ai_addr)->sin_addr.s_addr;
  freeaddrinfo(found);
  return true;
}

SocketHandle OpenTcpSocket() {
  int s = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, IPPROTO_TCP);
  return s < 0 ? kNoSocket : s;
}

bool MakeNonBlocking(SocketHandle socket) {
  int flags = fcntl(static_cast<int>(socket), F_GETFL);
  return flags >= 0 && fcntl(static_cast<int>(socket), F_SETFL, flags | O_NONBLOCK) == 0;
}

void CloseSocket(SocketHandle socket) {
  if (socket != kNoSocket) close(static_cast<int>(socket));
}

ConnectStart StartConnect(SocketHandle socket, std::uint32_t address, std::uint16_t port) {
  sockaddr_in peer{};
  peer.sin_family = AF_INET;
  peer.sin_port = htons(port);
  peer.sin_addr.s_addr = address;
  if (connect(static_cast<int>(socket), reinterpret_cast<sockaddr*>(&peer), sizeof peer) == 0)
    return ConnectStart::Connected;
  return errno == EINPROGRESS ? ConnectStart::Pending : ConnectStart::Failed;
}

WaitResult WaitSocket(SocketHandle socket, bool forRead, bool forWrite, std::uint32_t timeoutMs) {
  pollfd entry{static_cast<int>(socket),
               static_cast<short>((forRead ? POLLIN : 0) | (forWrite ? POLLOUT : 0)), 0};
  int ready;
  do {
    ready = poll(&entry, 1, static_cast<int>(timeoutMs));
  } while (ready < 0 && errno == EINTR);
  if (ready < 0 || (entry.revents & POLLNVAL)) return WaitResult::Failed;
  // A hang-up or an error makes the next receive or send tell what happened.
  return ready == 0 ? WaitResult::TimedOut : WaitResult::Ready;
}

WaitResult WaitConnected(SocketHandle socket, std::uint32_t timeoutMs) {
  WaitResult waited = WaitSocket(socket, false, true, timeoutMs);
  if (waited != WaitResult::Ready) return waited;
  int error = 0;
  socklen_t size = sizeof error;
  if (getsockopt(static_cast<int>(socket), SOL_SOCKET, SO_ERROR, &error, &size) != 0 || error != 0)
    return WaitResult::Failed;
  return WaitResult::Ready;
}

long SendSome(SocketHandle socket, const char* data, std::size_t length) {
  return static_cast<long>(send(static_cast<int>(socket), data, length, MSG_NOSIGNAL));
}

long ReceiveSome(SocketHandle socket, char* buffer, std::size_t capacity) {
  return static_cast<long>(recv(static_cast<int>(socket), buffer, capacity, 0));
}

bool PeerAddressText(SocketHandle socket, std::string& text) {
  sockaddr_in peer{};
  socklen_t size = sizeof peer;
  if (getpeername(static_cast<int>(socket), reinterpret_cast<sockaddr*>(&peer), &size) != 0) return false;
  char dotted[INET_ADDRSTRLEN] = {};
  if (!inet_ntop(AF_INET, &peer.sin_addr, dotted, sizeof dotted)) return false;
  text = dotted;
  return true;
}

std::vector<std::string> SystemRootCertificates() {
  return {};
}

bool TlsLibraryPathsAreTheSystems() {
  return true;
}

}  // namespace platform
