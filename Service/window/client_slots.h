// The client slot table of the driver window: which client holds the port and
// which events it wants. Each slot is taken and freed on the window thread,
// but a COM call may arrive while the window waits for the register, so the
// table keeps its own locks.
#pragma once

#include <array>
#include <cstdint>
#include <mutex>

#include "client_events.h"

namespace ravelin {

class TClientSlots {
 public:
  static constexpr int kSlotCount = 1;

  // The first empty slot's index, or -1 when none is empty or AutoRun runs a file.
  int Take(IClientEventTarget* client);
  // Empties the slot; returns the number of slots still occupied.
  int Free(int index);
  int OccupiedCount() const;

  // Stores the requested bits; false when an exclusive bit (emFileExtEnq,
  // emInteract) is held by another slot - that bit is left out.
  bool SetMask(std::int32_t mask, int index);
  std::int32_t Mask(int index) const;
  std::int32_t CombinedMask() const;

  IClientEventTarget* Client(int index) const;
  IClientEventTarget* FirstClientWith(std::int32_t bit) const;

  // AutoRun running a command file keeps clients out.
  void SetAutoRunRunning(bool running);

 private:
  struct Slot {
    IClientEventTarget* client = nullptr;
    std::int32_t mask = 0;
  };
  static bool ValidIndex(int index) { return index >= 0 && index < kSlotCount; }

  mutable std::mutex slotLock_;
  mutable std::mutex maskLock_;
  std::array<Slot, kSlotCount> slots_{};
  bool autoRunRunning_ = false;
};

}  // namespace ravelin
