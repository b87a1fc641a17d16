#include "com/event_queue.h"

#include <windows.h>

#include <algorithm>

namespace ravelin {

TEventQueue::TEventQueue(TFire fire, TLog log) : fire_(std::move(fire)), log_(std::move(log)) {
  if (!log_) log_ = [](const std::string& line) { OutputDebugStringA(("Ravelin: " + line + "\n").c_str()); };
}

void TEventQueue::Enqueue(std::unique_ptr<TClientEvent> record) {
  if (!record) return;
  records_.push_back(std::move(record));
  if (records_.size() > kMaxQueuedEvents) DropOldestDataEvent();
  Drain();
}

void TEventQueue::DropOldestDataEvent() {
  const auto oldest = std::find_if(records_.begin(), records_.end(), [](const auto& record) {
    return !IsRegisterQuestion(*record) && record->kind != ekCommandComplete;
  });
  if (oldest == records_.end()) return;
  records_.erase(oldest);
  if (dropped_++ == 0)
    log_("client events frozen: more than " + std::to_string(kMaxQueuedEvents) +
         " waiting, the oldest data events are dropped");
}

void TEventQueue::ReportDropped() {
  if (dropped_ == 0) return;
  log_(std::to_string(dropped_) + " data events were dropped while the client's events were frozen");
  dropped_ = 0;
}

void TEventQueue::SetFrozen(bool frozen) {
  frozen_ = frozen;
  if (frozen_) return;
  ReportDropped();
  Drain();
}

std::vector<std::unique_ptr<TClientEvent>> TEventQueue::TakeAll() {
  ReportDropped();
  return TakeIf([](const TClientEvent&) { return true; });
}

std::vector<std::unique_ptr<TClientEvent>> TEventQueue::TakeIf(
    const std::function<bool(const TClientEvent&)>& pick) {
  std::vector<std::unique_ptr<TClientEvent>> taken;
  std::deque<std::unique_ptr<TClientEvent>> kept;
  for (auto& record : records_) {
    if (pick(*record))
      taken.push_back(std::move(record));
    else
      kept.push_back(std::move(record));
  }
  records_ = std::move(kept);
  return taken;
}

void TEventQueue::Drain() {
  // The delivery already running picks up whatever arrived meanwhile.
  if (delivering_) return;
  delivering_ = true;
  while (!frozen_ && !records_.empty()) {
    std::unique_ptr<TClientEvent> record = std::move(records_.front());
    records_.pop_front();
    fire_(*record);
  }
  delivering_ = false;
}

}  // namespace ravelin
