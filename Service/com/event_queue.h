// A connection's FIFO of client events with the freeze switch. Records are
// fired strictly in arrival order and one at a time: a record that arrives
// while a client's handler runs (the handler pumps messages, or the server's
// outgoing call does) waits for the running delivery instead of being fired
// inside it, so replies reach the register in the order of its questions.
// A client that froze its events and never thaws them must not take all the
// memory: past kMaxQueuedEvents the oldest data event goes, and the log
// counts what went. Window thread only.
#pragma once

#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "client_events.h"

namespace ravelin {

inline constexpr std::size_t kMaxQueuedEvents = 4096;

class TEventQueue {
 public:
  using TFire = std::function<void(TClientEvent& record)>;
  using TLog = std::function<void(const std::string& line)>;

  // The product logs to the debugger output.
  explicit TEventQueue(TFire fire, TLog log = {});

  // Queues the record and delivers the backlog unless frozen or already delivering.
  void Enqueue(std::unique_ptr<TClientEvent> record);
  // Thawing delivers the backlog (after the running handler, when inside one).
  void SetFrozen(bool frozen);
  bool Frozen() const { return frozen_; }
  // True while a record is being fired, that is inside a client's handler.
  bool Delivering() const { return delivering_; }
  std::size_t Size() const { return records_.size(); }
  // Data events dropped since the last thaw or emptying.
  std::size_t Dropped() const { return dropped_; }
  // Empties the queue without firing anything.
  std::vector<std::unique_ptr<TClientEvent>> TakeAll();
  // Takes out the records `pick` chooses, in their order, firing nothing.
  std::vector<std::unique_ptr<TClientEvent>> TakeIf(const std::function<bool(const TClientEvent&)>& pick);

  void Drain();

 private:
  // Register questions wait for their answer and a command completion is
  // the only word of its command: neither is ever dropped.
  void DropOldestDataEvent();
  void ReportDropped();

  TFire fire_;
  TLog log_;
  std::size_t dropped_ = 0;
  std::deque<std::unique_ptr<TClientEvent>> records_;
  bool frozen_ = false;
  bool delivering_ = false;
};

}  // namespace ravelin
