#include "platform/fixed_clock.h"

#include <optional>

namespace platform {
namespace {
std::optional<LocalTime> fixedMoment;
}

const LocalTime* FixedLocalNow() {
  return fixedMoment ? &*fixedMoment : nullptr;
}

void FixLocalNowForTests(const LocalTime* moment) {
  fixedMoment.reset();
  if (moment) fixedMoment = *moment;
}

}  // namespace platform
