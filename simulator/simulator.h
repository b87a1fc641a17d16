// The registers one simulator serves (numbers 1-24) and the events they have
// for the host. The server and in-process tests both drive it.
#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "sim_register.h"

namespace ecrsim {

constexpr int kMaxRegisters = 24;
constexpr std::size_t kMaxPendingEvents = 256;
constexpr std::size_t kMaxEventBytes = 512;

// An unsolicited message of a register: a kind byte the host's link
// understands and the message bytes.
struct Event {
  int ecr = 0;
  std::uint8_t kind = 0;
  std::vector<std::uint8_t> data;
};

class Simulator {
 public:
  // Adds or replaces register `number`; false for a number outside 1-24.
  bool AddRegister(int number, RegisterConfig config);
  bool RemoveRegister(int number);
  SimRegister* Find(int number);
  std::vector<int> RegisterNumbers() const;

  // A frame for a register that is not there gets no answer: the link times out.
  Reply Exchange(int number, std::span<const std::uint8_t> frame);

  // False when the register is absent, the data too long or the queue full.
  bool QueueEvent(const Event& event);
  std::vector<Event> TakeEvents();

  bool stopRequested = false;
  // When set, register N's printout is also appended to printout-N.txt here
  // (for registers added afterwards).
  std::string printoutDir;

 private:
  std::array<std::unique_ptr<SimRegister>, kMaxRegisters + 1> registers_;
  std::deque<Event> events_;
};

}  // namespace ecrsim
