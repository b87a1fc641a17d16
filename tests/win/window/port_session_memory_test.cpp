// A till that opens the port for each receipt: a port session must leave
// nothing behind in the process, however many there are. A process of its
// own, so no other test's allocations blur the measure.
#include <gtest/gtest.h>
#include <windows.h>

#include <psapi.h>  // after windows.h, whose types it uses

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
  SIZE_T settled = 0;
  for (int session = 1; session <= kSessions; ++session) {
    ASSERT_EQ(form.OpenLogicalPort(952), 0) << "session " << session;
    ASSERT_TRUE(form.CloseLogicalPort());
    if (session == kWarmUp) settled = WorkingSet();
  }
  EXPECT_LE(WorkingSet(), settled + kPages) << "grew by " << (WorkingSet() - settled) << " bytes";
}

}  // namespace
