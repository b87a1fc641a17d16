// Winsock before windows.h, and wincrypt after it.
// clang-format off
#include <winsock2.h>
#include <ws2tcpip.h>
#include <windows.h>
#include <wincrypt.h>
// clang-format on

#include "../sockets.h"

namespace platform {

namespace {

SOCKET Native(SocketHandle socket) {
  return static_cast<SOCKET>(socket);
}

timeval Timeout(std::uint32_t timeoutMs) {
  return {static_cast<long>(timeoutMs / 1000), static_cast<long>(timeoutMs % 1000) * 1000};
}

}  // namespace

bool StartSockets(std::uint16_t& version) {
  WSADATA data{};
  if (WSAStartup(MAKEWORD(2, 2), &data) != 0) return false;
  version = data.wVersion;
  return true;
}

void StopSockets() {
  WSACleanup();
}

bool LocalHostName(std::string& name) {
  char buffer[256] = {};
  if (gethostname(buffer, sizeof buffer - 1) != 0) return false;
  name = buffer;
  return true;
}

std::uint16_t ServicePort(const char* service) {
  const servent* entry = getservbyname(service, "tcp");
  return entry ? ntohs(static_cast<u_short>(entry->s_port)) : 0;
}

bool ResolveIpv4(const std::string& host, std::uint32_t& address) {
  unsigned long dotted = inet_addr(host.c_str());
  if (dotted != INADDR_NONE) {
    address = dotted;
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
  SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  return s == INVALID_SOCKET ? kNoSocket : static_cast<SocketHandle>(s);
}

bool MakeNonBlocking(SocketHandle socket) {
  u_long on = 1;
  return ioctlsocket(Native(socket), FIONBIO, &on) == 0;
}

void CloseSocket(SocketHandle socket) {
  if (socket != kNoSocket) closesocket(Native(socket));
}

ConnectStart StartConnect(SocketHandle socket, std::uint32_t address, std::uint16_t port) {
  sockaddr_in peer{};
  peer.sin_family = AF_INET;
  peer.sin_port = htons(port);
  peer.sin_addr.s_addr = address;
  if (connect(Native(socket), reinterpret_cast<sockaddr*>(&peer), sizeof peer) == 0)
    return ConnectStart::Connected;
  return WSAGetLastError() == WSAEWOULDBLOCK ? ConnectStart::Pending : ConnectStart::Failed;
}

WaitResult WaitSocket(SocketHandle socket, bool forRead, bool forWrite, std::uint32_t timeoutMs) {
  fd_set readable, writable;
  FD_ZERO(&readable);
  FD_ZERO(&writable);
  if (forRead) FD_SET(Native(socket), &readable);
  if (forWrite) FD_SET(Native(socket), &writable);
  timeval limit = Timeout(timeoutMs);
  int ready = select(0, forRead ? &readable : nullptr, forWrite ? &writable : nullptr, nullptr, &limit);
  if (ready == SOCKET_ERROR) return WaitResult::Failed;
  return ready == 0 ? WaitResult::TimedOut : WaitResult::Ready;
}

WaitResult WaitConnected(SocketHandle socket, std::uint32_t timeoutMs) {
  // Winsock reports a failed connect in the exception set, not as writable.
  fd_set writable, failed;
  FD_ZERO(&writable);
  FD_ZERO(&failed);
  FD_SET(Native(socket), &writable);
  FD_SET(Native(socket), &failed);
  timeval limit = Timeout(timeoutMs);
  int ready = select(0, nullptr, &writable, &failed, &limit);
  if (ready == SOCKET_ERROR || FD_ISSET(Native(socket), &failed)) return WaitResult::Failed;
  return ready == 0 ? WaitResult::TimedOut : WaitResult::Ready;
}

long SendSome(SocketHandle socket, const char* data, std::size_t length) {
  return send(Native(socket), data, static_cast<int>(length), 0);
}

long ReceiveSome(SocketHandle socket, char* buffer, std::size_t capacity) {
  return recv(Native(socket), buffer, static_cast<int>(capacity), 0);
}

bool PeerAddressText(SocketHandle socket, std::string& text) {
  sockaddr_in peer{};
  int size = sizeof peer;
  if (getpeername(Native(socket), reinterpret_cast<sockaddr*>(&peer), &size) != 0) return false;
  const char* dotted = inet_ntoa(peer.sin_addr);
  if (!dotted) return false;
  text = dotted;
  return true;
}

std::vector<std::string> SystemRootCertificates() {
  std::vector<std::string> roots;
  HCERTSTORE store = CertOpenSystemStoreA(0, "ROOT");
  if (!store) return roots;
  for (PCCERT_CONTEXT cert = CertEnumCertificatesInStore(store, nullptr); cert;
       cert = CertEnumCertificatesInStore(store, cert)) {
    roots.emplace_back(reinterpret_cast<const char*>(cert->pbCertEncoded), cert->cbCertEncoded);
  }
  CertCloseStore(store, 0);
  return roots;
}

bool TlsLibraryPathsAreTheSystems() {
  return false;
}

}  // namespace platform
