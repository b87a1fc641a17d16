#include "server/sim_server.h"

#include <algorithm>
#include <cstdio>

#include "control/control_commands.h"

namespace ecrsim {
namespace {

constexpr int kPollMs = 50;  // how soon a signal's stop flag is seen
constexpr std::size_t kReadChunk = 4096;
constexpr int kServiceMalformed = 4;  // the host result of a service message the device cannot read

void LogLine(const std::string& text) {
  std::fprintf(stderr, "ecrsim: %s\n", text.c_str());
  std::fflush(stderr);
}

}  // namespace

SimServer::~SimServer() {
  for (Client& client : clients_) net::CloseSocket(client.socket);
  net::CloseSocket(wireListener_);
  net::CloseSocket(controlListener_);
}

bool SimServer::Open(std::uint16_t wirePort, std::uint16_t controlPort, std::string& error) {
  wireListener_ = net::ListenLoopback(wirePort, wirePort_);
  if (wireListener_ == net::kNoSocket) {
    error = "cannot listen on port " + std::to_string(wirePort);
    return false;
  }
  controlListener_ = net::ListenLoopback(controlPort, controlPort_);
  if (controlListener_ == net::kNoSocket) {
    error = "cannot listen on port " + std::to_string(controlPort);
    return false;
  }
  return true;
}

void SimServer::Run(const volatile std::sig_atomic_t& stopFlag) {
  std::vector<bool> readable;
  while (!stopFlag && !sim_.stopRequested) {
    std::vector<net::Socket> sockets = {wireListener_, controlListener_};
    for (const Client& client : clients_) sockets.push_back(client.socket);
    if (!net::WaitReadable(sockets, readable, WaitTimeoutMs())) {
      LogLine("waiting for sockets failed");
      break;
    }
    if (readable[0]) Accept(wireListener_, false);
    if (readable[1]) Accept(controlListener_, true);
    // Clients accepted just now were not in the wait; they are read next time round.
    for (std::size_t i = 2; i < readable.size(); ++i) {
      if (readable[i] && !sim_.stopRequested) Read(clients_[i - 2]);
    }
    std::erase_if(clients_, [](const Client& client) {
      if (client.closed) net::CloseSocket(client.socket);
      return client.closed;
    });
    SendDueAnswers();
    SendEvents();
  }
}

int SimServer::WaitTimeoutMs() const {
  int timeout = kPollMs;
  const auto now = std::chrono::steady_clock::now();
  for (const DelayedAnswer& answer : delayed_) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(answer.due - now).count();
    timeout = std::min<int>(timeout, static_cast<int>(std::max<long long>(left, 0)));
  }
  return timeout;
}

void SimServer::Accept(net::Socket listener, bool control) {
  const net::Socket socket = net::AcceptClient(listener);
  if (socket == net::kNoSocket) return;
  if (clients_.size() >= kMaxClients) {
    LogLine("too many connections; one refused");
    net::CloseSocket(socket);
    return;
  }
  Client client;
  client.socket = socket;
  client.id = nextClientId_++;
  client.control = control;
  clients_.push_back(std::move(client));
}

void SimServer::Read(Client& client) {
  std::uint8_t buffer[kReadChunk];
  const long received = net::Receive(client.socket, buffer, sizeof buffer);
  if (received <= 0) {
    client.closed = true;
    return;
  }
  const std::span<const std::uint8_t> bytes(buffer, static_cast<std::size_t>(received));
  if (client.control) {
    HandleControlBytes(client, bytes);
  } else {
    HandleWireBytes(client, bytes);
  }
}

void SimServer::Send(Client& client, std::span<const std::uint8_t> bytes) {
  if (!client.closed && !net::SendAll(client.socket, bytes)) client.closed = true;
}

void SimServer::HandleWireBytes(Client& client, std::span<const std::uint8_t> bytes) {
  client.decoder.Feed(bytes);
  ecrwire::Message message;
  std::string reason;
  for (;;) {
    const auto result = client.decoder.Next(message, reason);
    if (result == ecrwire::Decoder::Result::NeedMore) break;
    if (result == ecrwire::Decoder::Result::Dropped) {
      LogLine("connection " + std::to_string(client.id) + ": dropped " + reason);
      continue;
    }
    if (message.type == ecrwire::MessageType::Service) {
      AnswerService(client, message);
      continue;
    }
    if (message.type != ecrwire::MessageType::Request) {
      LogLine("connection " + std::to_string(client.id) + ": dropped a message that is no request");
      continue;
    }
    const Reply reply = sim_.Exchange(message.ecr, message.payload);
    if (!reply.answered) {
      LogLine("register " + std::to_string(message.ecr) + ": no answer to message " +
              std::to_string(message.seq));
      continue;
    }
    Deliver(
        client,
        {ecrwire::MessageType::Answer, message.ecr, message.seq, static_cast<std::uint8_t>(reply.hostResult),
         static_cast<std::uint8_t>(reply.detail), reply.answer},
        reply.delayMs);
  }
}

void SimServer::AnswerService(Client& client, const ecrwire::Message& request) {
  SimRegister* reg = sim_.Find(request.ecr);
  if (!reg) {
    LogLine("register " + std::to_string(request.ecr) + ": no device for service " +
            std::to_string(request.code));
    return;
  }
  const ServiceAnswer served = reg->device.Serve(request.code, request.detail, request.payload);
  Deliver(client,
          {ecrwire::MessageType::Answer, request.ecr, request.seq,
           static_cast<std::uint8_t>(served.valid ? kHostOk : kServiceMalformed), 0, served.payload},
          served.delayMs);
}

void SimServer::Deliver(Client& client, const ecrwire::Message& answer, int delayMs) {
  std::vector<std::uint8_t> encoded;
  if (!ecrwire::Encode(answer, encoded)) {
    LogLine("register " + std::to_string(answer.ecr) + ": answer too long for the wire");
    return;
  }
  if (delayMs > 0) {
    delayed_.push_back(
        {std::chrono::steady_clock::now() + std::chrono::milliseconds(delayMs), client.id, encoded});
  } else {
    // What the frame printed with the echo on reaches the host before its answer.
    SendEvents();
    Send(client, encoded);
  }
}

void SimServer::HandleControlBytes(Client& client, std::span<const std::uint8_t> bytes) {
  for (std::uint8_t byte : bytes) {
    if (byte != '\n') {
      if (client.skippingLongLine) continue;
      if (client.line.size() >= kMaxControlLine) {
        const std::string refusal = "ERROR line too long\n";
        Send(client, {reinterpret_cast<const std::uint8_t*>(refusal.data()), refusal.size()});
        client.line.clear();
        client.skippingLongLine = true;
        continue;
      }
      client.line.push_back(static_cast<char>(byte));
      continue;
    }
    if (client.skippingLongLine) {
      client.skippingLongLine = false;
      continue;
    }
    const std::string reply = RunControlLine(sim_, client.line);
    client.line.clear();
    Send(client, {reinterpret_cast<const std::uint8_t*>(reply.data()), reply.size()});
    if (sim_.stopRequested) return;
  }
}

void SimServer::SendDueAnswers() {
  const auto now = std::chrono::steady_clock::now();
  for (auto it = delayed_.begin(); it != delayed_.end();) {
    if (it->due > now) {
      ++it;
      continue;
    }
    for (Client& client : clients_) {
      if (client.id == it->clientId) Send(client, it->bytes);
    }
    it = delayed_.erase(it);
  }
}

// Events wait in the simulator until a host is connected to receive them.
void SimServer::SendEvents() {
  const bool hostConnected =
      std::any_of(clients_.begin(), clients_.end(), [](const Client& c) { return !c.control && !c.closed; });
  if (!hostConnected) return;
  for (const Event& event : sim_.TakeEvents()) {
    std::vector<std::uint8_t> encoded;
    ecrwire::Encode({ecrwire::MessageType::Event, static_cast<std::uint8_t>(event.ecr), nextEventSeq_++,
                     event.kind, 0, event.data},
                    encoded);
    for (Client& client : clients_) {
      if (!client.control) Send(client, encoded);
    }
  }
}

}  // namespace ecrsim
