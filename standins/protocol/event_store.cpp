#include "event_store.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace prot {

int EventStore::Add(int ecr, int type, std::span<const std::uint8_t> data) {
  std::lock_guard lock(mutex_);
  lastIndex_ = lastIndex_ == std::numeric_limits<int>::max() ? 1 : lastIndex_ + 1;
  Slot& slot = slots_[static_cast<std::size_t>(lastIndex_ % kKeptMessages)];
  slot.index = lastIndex_;
  slot.message = TEcrMessage{};
  slot.message.ecr = ecr;
  slot.message.type = type;
  const std::size_t kept = std::min(data.size(), sizeof slot.message.data);
  std::memcpy(slot.message.data, data.data(), kept);
  slot.message.length = static_cast<std::int32_t>(kept);
  return lastIndex_;
}

bool EventStore::Get(int index, TEcrMessage& out) const {
  std::lock_guard lock(mutex_);
  if (index <= 0) return false;
  const Slot& slot = slots_[static_cast<std::size_t>(index % kKeptMessages)];
  if (slot.index != index) return false;
  out = slot.message;
  return true;
}

void EventStore::Clear() {
  std::lock_guard lock(mutex_);
  slots_ = {};
}

}  // namespace prot
