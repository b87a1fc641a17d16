// The ecrsim program's server: one loopback port speaks the wire format with
// hosts, a second one takes control commands line by line. One thread serves
// both with a readiness loop; answers a fault delays wait in a queue so the
// control channel keeps working meanwhile.
#pragma once

#include <chrono>
#include <csignal>
#include <cstdint>
#include <string>
#include <vector>

#include "server/net_socket.h"
#include "simulator.h"
#include "wire/wire.h"

namespace ecrsim {

constexpr std::size_t kMaxClients = 16;

class SimServer {
 public:
  explicit SimServer(Simulator& sim) : sim_(sim) {}
  ~SimServer();
  SimServer(const SimServer&) = delete;
  SimServer& operator=(const SimServer&) = delete;

  bool Open(std::uint16_t wirePort, std::uint16_t controlPort, std::string& error);
  std::uint16_t WirePort() const { return wirePort_; }
  std::uint16_t ControlPort() const { return controlPort_; }

  // Serves until a "stop" command or until `stopFlag` turns nonzero (a signal handler sets it).
  void Run(const volatile std::sig_atomic_t& stopFlag);

 private:
  struct Client {
    net::Socket socket = net::kNoSocket;
    int id = 0;
    bool control = false;
    bool closed = false;
    ecrwire::Decoder decoder;
    std::string line;
    bool skippingLongLine = false;
  };
  struct DelayedAnswer {
    std::chrono::steady_clock::time_point due;
    int clientId;
    std::vector<std::uint8_t> bytes;
  };

  void Accept(net::Socket listener, bool control);
  void Read(Client& client);
  void HandleWireBytes(Client& client, std::span<const std::uint8_t> bytes);
  void HandleControlBytes(Client& client, std::span<const std::uint8_t> bytes);
  // A service request goes to the device of the register it names.
  void AnswerService(Client& client, const ecrwire::Message& request);
  // Sends `answer` now, or after `delayMs`.
  void Deliver(Client& client, const ecrwire::Message& answer, int delayMs);
  void Send(Client& client, std::span<const std::uint8_t> bytes);
  void SendDueAnswers();
  void SendEvents();
  int WaitTimeoutMs() const;

  Simulator& sim_;
  net::Socket wireListener_ = net::kNoSocket;
  net::Socket controlListener_ = net::kNoSocket;
  std::uint16_t wirePort_ = 0;
  std::uint16_t controlPort_ = 0;
  std::vector<Client> clients_;
  std::vector<DelayedAnswer> delayed_;
  int nextClientId_ = 1;
  std::uint16_t nextEventSeq_ = 0;
};

}  // namespace ecrsim
