// The moment tests fixed the local clock at, shared by both systems' LocalNow,
// and the virtual tick count both systems' waits use while tests ask for it.
#pragma once

#include <cstdint>
#include <optional>

#include "platform/platform.h"

namespace platform {

// Null unless a test fixed the clock.
const LocalTime* FixedLocalNow();

// The virtual tick count (moved on by this reading), or nullopt on real time.
std::optional<std::uint32_t> VirtualTickCount();
// True when the virtual clock took the sleep.
bool SleepVirtually(std::uint32_t ms);

}  // namespace platform
