// The moment tests fixed the local clock at, shared by both systems' LocalNow.
#pragma once

#include "platform/platform.h"

namespace platform {

// Null unless a test fixed the clock.
const LocalTime* FixedLocalNow();

}  // namespace platform
