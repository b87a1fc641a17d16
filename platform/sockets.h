// The mail client's sockets: TCP over Winsock or BSD sockets, the services
// table, waits with a time-out, and the root certificates the system trusts.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace platform {

using SocketHandle = std::intptr_t;
inline constexpr SocketHandle kNoSocket = -1;

// Starts the socket layer asking for version 2.2; `version` gets the version
// it gave (high byte minor, low byte major, as Winsock reports it). POSIX has
// nothing to start and answers 2.2.
bool StartSockets(std::uint16_t& version);
void StopSockets();

bool LocalHostName(std::string& name);

// The TCP port of a service of the system's services table, 0 when unknown.
std::uint16_t ServicePort(const char* service);

// A dotted IPv4 address, or else the first IPv4 address of the name, in
// network byte order.
bool ResolveIpv4(const std::string& host, std::uint32_t& address);

SocketHandle OpenTcpSocket();  // kNoSocket on failure
bool MakeNonBlocking(SocketHandle socket);
void CloseSocket(SocketHandle socket);

enum class ConnectStart { Connected, Pending, Failed };
ConnectStart StartConnect(SocketHandle socket, std::uint32_t address, std::uint16_t port);

enum class WaitResult { Ready, TimedOut, Failed };
// Waits until the socket is readable and/or writable as asked.
WaitResult WaitSocket(SocketHandle socket, bool forRead, bool forWrite, std::uint32_t timeoutMs);
// Waits for a pending connect to end: Failed also when it ended in an error.
WaitResult WaitConnected(SocketHandle socket, std::uint32_t timeoutMs);

// One send or receive; negative on error, as the system call gives it.
long SendSome(SocketHandle socket, const char* data, std::size_t length);
long ReceiveSome(SocketHandle socket, char* buffer, std::size_t capacity);

// The dotted IPv4 address of the connected peer.
bool PeerAddressText(SocketHandle socket, std::string& text);

// DER certificates of the system's trusted roots that a TLS library cannot
// find on its own (Windows' ROOT store); empty where the library's default
// paths already hold them.
std::vector<std::string> SystemRootCertificates();

// Whether the TLS library's built-in paths (trusted roots) are the system's
// own: true for the distribution's OpenSSL on POSIX; false on Windows, where
// a statically linked library's paths are folders any user may create.
bool TlsLibraryPathsAreTheSystems();

}  // namespace platform
