#include "com/event_queue.h"

namespace ravelin {

void TEventQueue::Enqueue(std::unique_ptr<TClientEvent> record) {
  if (!record) return;
  records_.push_back(std::move(record));
  Drain();
}

void TEventQueue::SetFrozen(bool frozen) {
  frozen_ = frozen;
  if (!frozen_) Drain();
}

std::vector<std::unique_ptr<TClientEvent>> TEventQueue::TakeAll() {
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
