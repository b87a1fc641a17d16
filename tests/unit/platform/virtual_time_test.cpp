#include <gtest/gtest.h>

#include "platform/platform.h"

TEST(VirtualTime, SleepsCostNoTimeAndMoveTheTicksOnUntilRealTimeIsBack) {
  platform::UseVirtualTimeForTests(true);
  const std::uint32_t start = platform::TickCount();
  platform::SleepMilliseconds(300000);  // five minutes of a readiness wait
  platform::WaitServingMessages(1000);
  EXPECT_GE(platform::TickCount() - start, 301000u);
  EXPECT_NE(platform::TickCount(), platform::TickCount());  // a polling loop always moves on
  platform::UseVirtualTimeForTests(false);
  const std::uint32_t real = platform::TickCount();
  platform::SleepMilliseconds(20);
  EXPECT_GE(platform::TickCount() - real, 20u);
}
