// The link to the register(s) of one port: the line, the reader thread that
// matches answers to requests and turns unsolicited messages into events, and
// the reconnection after a lost line. Every wait is bounded.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <thread>
#include <vector>

#include "byte_line.h"
#include "event_store.h"
#include "port_settings.h"
#include "protocol_api.h"
#include "protocol_log.h"
#include "wire/wire.h"

namespace prot {

struct ExchangeResult {
  int result = kResultAnswered;
  int detail = 0;
  int answerLength = 0;
  bool local = false;  // produced by our transport, not by the register
};

class EcrLink {
 public:
  ~EcrLink() { Close(); }

  // Connects and starts the reader; false with `error` when the line cannot be opened.
  bool Open(const PortSettings& settings, std::string& error);
  // Stops and joins the reader, closes the line. Safe to call at any time.
  void Close();
  bool IsOpen() const { return open_; }
  const PortSettings& Settings() const { return settings_; }

  // One frame to register `ecr` and its answer into `answer` (at most
  // `capacity` bytes). The register's own result and detail pass through.
  ExchangeResult Exchange(int ecr, int mode, std::span<const std::uint8_t> frame, std::uint8_t* answer,
                          int capacity);
  // One service step to the device behind register `ecr`, its answer payload
  // into `answer`; waits `timeoutMs` for it.
  ExchangeResult ServiceExchange(int ecr, int service, ecrwire::ServiceStep step,
                                 std::span<const std::uint8_t> payload, int timeoutMs,
                                 std::vector<std::uint8_t>& answer);
  // A frame whose answer nobody waits for; true when it went out.
  bool SendOnly(int ecr, int mode, std::span<const std::uint8_t> frame);

  // Hang up (no reconnection) and dial again, for the connect/disconnect services.
  void HangUp();
  bool Dial(std::string& error);

  void SetRxCallback(ProtEventProc callback) { rxCallback_ = callback; }
  void SetNetChangeCallback(ProtEventProc callback) { netCallback_ = callback; }
  bool GetMessage(int index, TEcrMessage& out) const { return events_.Get(index, out); }
  int TakeByteCount();
  int Generation() const { return generation_; }
  ProtocolLog& Log() { return log_; }

 private:
  enum class Wait { Idle, Waiting, Answered, Lost };

  // Sends `request` and waits `timeoutMs` for its answer (into answer_).
  ExchangeResult Transact(const ecrwire::Message& request, int timeoutMs);
  void ReaderLoop();
  void Dispatch();
  void TakeAnswer(ecrwire::Message& message);
  void TakeEvent(const ecrwire::Message& message);
  bool SendMessage(const ecrwire::Message& message);
  void LoseLine(const std::shared_ptr<ByteLine>& lost, int detail);
  std::shared_ptr<ByteLine> CurrentLine();
  bool Reconnect();
  void Notify(ProtEventProc callback, int a, int b);
  std::uint16_t NextSeq();

  PortSettings settings_;
  std::atomic<bool> open_{false};
  std::atomic<bool> stop_{false};
  std::atomic<bool> hungUp_{false};
  std::atomic<int> generation_{0};
  std::atomic<long long> bytes_{0};
  std::atomic<ProtEventProc> rxCallback_{nullptr};
  std::atomic<ProtEventProc> netCallback_{nullptr};

  // The reader and the senders each hold the line while they use it, so a
  // hang-up or a loss never pulls it from under them.
  std::mutex lineMutex_;
  std::shared_ptr<ByteLine> line_;
  std::thread reader_;
  ecrwire::Decoder decoder_;  // reader thread only

  std::mutex exchangeMutex_;  // one exchange at a time
  std::mutex waitMutex_;
  std::condition_variable answered_;
  Wait wait_ = Wait::Idle;
  int waitEcr_ = 0;
  std::uint16_t waitSeq_ = 0;
  ecrwire::Message answer_;
  std::atomic<std::uint16_t> seq_{0};

  EventStore events_;
  ProtocolLog log_;
};

}  // namespace prot
