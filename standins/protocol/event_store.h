// Register messages kept for GetEcrMessage under the index the receive
// callback announced. The last kKeptMessages stay; older ones are gone.
#pragma once

#include <array>
#include <cstdint>
#include <mutex>
#include <span>

#include "protocol_api.h"

namespace prot {

class EventStore {
 public:
  static constexpr int kKeptMessages = 64;

  // Keeps the message (data beyond 256 bytes is cut off) and returns its index (1, 2, ...).
  int Add(int ecr, int type, std::span<const std::uint8_t> data);
  bool Get(int index, TEcrMessage& out) const;
  void Clear();

 private:
  struct Slot {
    int index = 0;
    TEcrMessage message{};
  };
  mutable std::mutex mutex_;
  std::array<Slot, kKeptMessages> slots_{};
  int lastIndex_ = 0;
};

}  // namespace prot
