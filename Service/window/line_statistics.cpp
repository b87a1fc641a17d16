#include "window/line_statistics.h"

#include <algorithm>

namespace ravelin {

TLineSample TLineStatistics::Tick(bool portOpen, int byteCount) {
  TLineSample sample;
  sample.portOpen = portOpen;
  if (!portOpen || byteCount <= 0) return sample;
  sample.lastPeriod = byteCount;
  sample.bar = std::min(byteCount, kMaxLineBar);
  sample.iconIndex = iconCounter_;
  iconCounter_ = static_cast<std::uint8_t>((iconCounter_ + 1) % kTrayIconFrames);
  return sample;
}

}  // namespace ravelin
