// The few socket calls the simulator's server and its tests need, on loopback
// only: BSD sockets natively (net_socket_posix.cpp), Winsock in the 32-bit
// Windows build (net_socket_win32.cpp).
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace ecrsim::net {

using Socket = std::intptr_t;
constexpr Socket kNoSocket = -1;

bool Startup();  // once per process, before any other call
void Cleanup();

// Listens on 127.0.0.1:port (0 = any free port) and tells the port it got.
Socket ListenLoopback(std::uint16_t port, std::uint16_t& boundPort);
Socket AcceptClient(Socket listener);
Socket ConnectLoopback(std::uint16_t port);

// Bytes received, 0 when the peer closed, -1 on error.
long Receive(Socket socket, std::uint8_t* buffer, std::size_t size);
bool SendAll(Socket socket, std::span<const std::uint8_t> bytes);
void CloseSocket(Socket socket);

// Waits until a socket can be read (or a listener accept) or `timeoutMs`
// passes; `readable` gets one flag per socket. False on error; a wait that a
// signal interrupts returns true with nothing readable.
bool WaitReadable(std::span<const Socket> sockets, std::vector<bool>& readable, int timeoutMs);

}  // namespace ecrsim::net
