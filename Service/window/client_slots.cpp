#include "window/client_slots.h"

namespace ravelin {
namespace {

constexpr std::int32_t kExclusiveBits = emFileExtEnq | emInteract;

}  // namespace

int TClientSlots::Take(IClientEventTarget* client) {
  std::lock_guard lock(slotLock_);
  if (autoRunRunning_ || !client) return -1;
  for (int i = 0; i < kSlotCount; ++i) {
    if (slots_[i].client) continue;
    std::lock_guard maskLock(maskLock_);
    slots_[i] = {client, 0};
    return i;
  }
  return -1;
}

int TClientSlots::Free(int index) {
  std::lock_guard lock(slotLock_);
  if (ValidIndex(index)) {
    std::lock_guard maskLock(maskLock_);
    slots_[index] = {};
  }
  int occupied = 0;
  for (const Slot& slot : slots_) occupied += slot.client ? 1 : 0;
  return occupied;
}

int TClientSlots::OccupiedCount() const {
  std::lock_guard lock(slotLock_);
  int occupied = 0;
  for (const Slot& slot : slots_) occupied += slot.client ? 1 : 0;
  return occupied;
}

bool TClientSlots::SetMask(std::int32_t mask, int index) {
  if (!ValidIndex(index)) return false;
  std::lock_guard lock(maskLock_);
  slots_[index].mask = 0;
  bool allStored = true;
  for (std::int32_t bit = 0x01; bit & kAllEventMaskBits; bit <<= 1) {
    if (!(mask & bit)) continue;
    if (bit & kExclusiveBits) {
      bool heldElsewhere = false;
      for (int other = 0; other < kSlotCount; ++other) {
        if (other != index && (slots_[other].mask & bit)) heldElsewhere = true;
      }
      if (heldElsewhere) {
        allStored = false;
        continue;
      }
    }
    slots_[index].mask |= bit;
  }
  return allStored;
}

std::int32_t TClientSlots::Mask(int index) const {
  if (!ValidIndex(index)) return 0;
  std::lock_guard lock(maskLock_);
  return slots_[index].mask;
}

std::int32_t TClientSlots::CombinedMask() const {
  std::lock_guard lock(maskLock_);
  std::int32_t combined = 0;
  for (const Slot& slot : slots_) combined |= slot.mask;
  return combined;
}

IClientEventTarget* TClientSlots::Client(int index) const {
  if (!ValidIndex(index)) return nullptr;
  std::lock_guard lock(slotLock_);
  return slots_[index].client;
}

IClientEventTarget* TClientSlots::FirstClientWith(std::int32_t bit) const {
  std::lock_guard lock(maskLock_);
  for (const Slot& slot : slots_) {
    if (slot.client && (slot.mask & bit)) return slot.client;
  }
  return nullptr;
}

void TClientSlots::SetAutoRunRunning(bool running) {
  std::lock_guard lock(slotLock_);
  autoRunRunning_ = running;
}

}  // namespace ravelin
