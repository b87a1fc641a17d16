// A till that opens the port for each receipt: a port session must leave
// nothing behind in the process, however many there are. A process of its
// own, so no other test's allocations blur the measure.
#include <gtest/gtest.h>
#include <windows.h>

#include <psapi.h>  // after windows.h, whose types it uses

#include <algorithm>
#include <cstdint>

#include "protocol/protocol_test_support.h"
#include "window/main_form.h"

namespace {

struct SilentNotifier final : Notifier {
  void Show(const std::string&) override {}
};

SIZE_T WorkingSet() {
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
  return counters.WorkingSetSize;
}

TEST(PortSessionMemory, TwoHundredOpensAndClosesOfAPortKeepTheWorkingSetFlat) {
  constexpr int kWarmUp = 20;
  constexpr int kSessions = 200;
  constexpr SIZE_T kPages = 2 * 4096;
  const protocol_test::SimPorts ports = protocol_test::FixturePorts();
  protocol_test::PortKey key(952, protocol_test::EthernetPortValues(ports.wire));
  SilentNotifier notifier;
  ravelin::TMainForm form(&notifier);
  // On a loaded machine Wine's own share (thread stacks, its heaps) jitters by
  // a few pages and settles within the first half: the highest working set
  // of the first half is compared with the lowest of the last sessions. A
  // leak of the size this guards against grows by megabytes in between.
  SIZE_T firstHalf = 0;
  SIZE_T last = SIZE_MAX;
  for (int session = 1; session <= kSessions; ++session) {
    ASSERT_EQ(form.OpenLogicalPort(952), 0) << "session " << session;
    ASSERT_TRUE(form.CloseLogicalPort());
    // The line's status changes reach the window as messages, as in the program.
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
    if (session > kWarmUp && session <= kSessions / 2) firstHalf = std::max(firstHalf, WorkingSet());
    if (session > kSessions - kWarmUp / 2) last = std::min(last, WorkingSet());
  }
  EXPECT_LE(last, firstHalf + kPages) << "grew by " << (last - firstHalf) << " bytes";
}

}  // namespace
