#include "platform/fixed_clock.h"

#include <optional>

namespace platform {
namespace {
std::optional<LocalTime> fixedMoment;
std::optional<std::uint32_t> virtualTicks;
}  // namespace

std::optional<std::uint32_t> VirtualTickCount() {
  if (virtualTicks) ++*virtualTicks;
  return virtualTicks;
}

bool SleepVirtually(std::uint32_t ms) {
  if (virtualTicks) *virtualTicks += ms;
  return virtualTicks.has_value();
}

void UseVirtualTimeForTests(bool on) {
  virtualTicks.reset();
  if (on) virtualTicks = 0;
}

const LocalTime* FixedLocalNow() {
  return fixedMoment ? &*fixedMoment : nullptr;
}

void FixLocalNowForTests(const LocalTime* moment) {
  fixedMoment.reset();
  if (moment) fixedMoment = *moment;
}

}  // namespace platform
