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
  std::vector<std::unique_ptr<TClientEvent>> taken;
  for (auto& record : records_) taken.push_back(std::move(record));
  records_.clear();
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
