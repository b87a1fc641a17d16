// What the driver window shows of the line on each timer tick: the bytes moved
// in the last period, the bar drawn for them and the tray icon's frame.
#pragma once

#include <cstdint>

namespace ravelin {

inline constexpr int kTrayIconFrames = 6;  // "ICONT0" .. "ICONT5"
inline constexpr int kMaxLineBar = 4500;

struct TLineSample {
  int lastPeriod = 0;  // bytes since the previous tick
  int bar = 0;         // height of the bar, at most kMaxLineBar
  bool portOpen = false;  // open: red bar; closed: maroon
  int iconIndex = 0;
};

class TLineStatistics {
 public:
  // `byteCount` is GetByteCount's result; ignored while the port is closed.
  TLineSample Tick(bool portOpen, int byteCount);

 private:
  // The icon turns only while bytes move.
  std::uint8_t iconCounter_ = 0;
};

}  // namespace ravelin
