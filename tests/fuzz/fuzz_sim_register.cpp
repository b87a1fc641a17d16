// The simulated register on arbitrary input from outside: the first byte
// chooses between frames (split at 0x0A) and control lines (split at '\n'),
// so key records with text lengths, short and long frames, event fields and
// malformed commands all reach it. It must never crash, and every answer must
// fit a frame.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string_view>

#include "control/control_commands.h"
#include "simulator.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const bool controlLines = data[0] & 1;
  ++data;
  --size;
  ecrsim::Simulator sim;
  sim.AddRegister(1, *ecrsim::BuiltInConfig("t72"));
  std::size_t start = 0;
  for (std::size_t i = 0; i <= size; ++i) {
    if (i < size && data[i] != '\n') continue;
    const std::span<const std::uint8_t> piece(data + start, i - start);
    if (controlLines) {
      const std::string reply =
          ecrsim::RunControlLine(sim, {reinterpret_cast<const char*>(piece.data()), piece.size()});
      if (reply.empty() || reply.back() != '\n') std::abort();
    } else if (sim.Exchange(1, piece).answer.size() > 512) {
      std::abort();
    }
    start = i + 1;
  }
  for (const ecrsim::Event& event : sim.TakeEvents()) {
    if (event.data.size() > ecrsim::kMaxEventBytes) std::abort();
  }
  return 0;
}
