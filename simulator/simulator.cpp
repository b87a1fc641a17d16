#include "simulator.h"

#include <utility>

#include "wire/event_builder.h"

namespace ecrsim {

bool Simulator::AddRegister(int number, RegisterConfig config) {
  if (number < 1 || number > kMaxRegisters) return false;
  registers_[number] = std::make_unique<SimRegister>(std::move(config));
  if (!printoutDir.empty())
    registers_[number]->printer.file = printoutDir + "/printout-" + std::to_string(number) + ".txt";
  return true;
}

bool Simulator::RemoveRegister(int number) {
  if (!Find(number)) return false;
  registers_[number].reset();
  return true;
}

SimRegister* Simulator::Find(int number) {
  if (number < 1 || number > kMaxRegisters) return nullptr;
  return registers_[number].get();
}

std::vector<int> Simulator::RegisterNumbers() const {
  std::vector<int> numbers;
  for (int i = 1; i <= kMaxRegisters; ++i) {
    if (registers_[i]) numbers.push_back(i);
  }
  return numbers;
}

// Lines the register printed with its echo on go to the host as data-collection events.
Reply Simulator::Exchange(int number, std::span<const std::uint8_t> frame) {
  if (SimRegister* reg = Find(number)) {
    Reply reply = reg->Exchange(frame);
    for (const std::string& line : reg->TakeEchoedLines())
      QueueEvent({number, kEventDataLine, std::vector<std::uint8_t>(line.begin(), line.end())});
    return reply;
  }
  Reply silence;
  silence.answered = false;
  return silence;
}

bool Simulator::QueueEvent(const Event& event) {
  if (!Find(event.ecr) || event.data.size() > kMaxEventBytes || events_.size() >= kMaxPendingEvents)
    return false;
  events_.push_back(event);
  return true;
}

std::vector<Event> Simulator::TakeEvents() {
  std::vector<Event> taken(events_.begin(), events_.end());
  events_.clear();
  return taken;
}

}  // namespace ecrsim
