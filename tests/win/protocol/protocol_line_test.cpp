// The line under the protocol library: a connection that breaks and comes
// back, and the serial path through a pseudo-terminal bridged to the simulator.
#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <vector>

#include "interfaces/host_info.h"
#include "protocol/protocol_test_support.h"

using namespace protocol_test;

namespace {

struct NetLog {
  std::mutex mutex;
  std::condition_variable changed;
  std::vector<std::pair<int, int>> changes;

  bool WaitFor(std::size_t count, int ms) {
    std::unique_lock lock(mutex);
    return changed.wait_for(lock, std::chrono::milliseconds(ms), [&] { return changes.size() >= count; });
  }
};
NetLog netLog;

void __stdcall OnNet(int value, int detail) {
  std::lock_guard lock(netLog.mutex);
  netLog.changes.emplace_back(value, detail);
  netLog.changed.notify_all();
}

int StatusExchange(ProtocolLibrary& lib, int ecr = 1) {
  std::uint8_t frame[] = {'S'};
  std::uint8_t answer[512];
  int length = sizeof answer, detail = 0;
  return lib.EcrIO(ecr, 3, frame, 1, answer, &length, &detail);
}

TEST(ProtocolConnectionTest, LostLineIsReportedAndRestored) {
  SimProcess sim;
  ASSERT_TRUE(sim.Start(0));
  const std::uint16_t wirePort = sim.ports.wire;
  PortKey key(911, EthernetPortValues(wirePort));
  ProtocolLibrary lib;
  ASSERT_TRUE(lib.Load("Lunsk.dll"));
  ASSERT_EQ(lib.OpenProt(key.path().c_str(), ""), 1);
  lib.SetOnNetChangeEvent(OnNet);
  ASSERT_EQ(StatusExchange(lib), 0);
  EXPECT_EQ(lib.GetClient(1), 1);

  sim.Stop();
  ASSERT_TRUE(netLog.WaitFor(1, 5000)) << "no network-change callback after the register went away";
  EXPECT_EQ(netLog.changes[0], std::make_pair(prot::kNetLost, static_cast<int>(prot::kErrLineLost)));
  EXPECT_EQ(StatusExchange(lib), prot::kResultNoLine);

  ASSERT_TRUE(sim.Start(wirePort));
  ASSERT_TRUE(netLog.WaitFor(2, 8000)) << "the line did not come back";
  EXPECT_EQ(netLog.changes[1].first, prot::kNetRestored);
  EXPECT_EQ(StatusExchange(lib), 0);
  EXPECT_EQ(lib.GetClient(1), 2);

  // Closing while the reader is trying to reconnect ends in bounded time too.
  sim.Stop();
  ASSERT_TRUE(netLog.WaitFor(3, 5000));
  const auto start = std::chrono::steady_clock::now();
  lib.CloseProt(0);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(3000));
}

bool SerialBridgeUp() {
  return GetFileAttributesA(ECRSIM_STATE_DIR "/socat.pid") != INVALID_FILE_ATTRIBUTES;
}

TEST(ProtocolSerialTest, Rs485PortReachesTheRegisterThroughAPseudoTerminal) {
  if (!SerialBridgeUp()) GTEST_SKIP() << "socat bridge not running";
  PortKey key(912, {{"PortType", "RS485"},
                    {"Port", "COM40"},
                    {"Speed", "115200"},
                    {"DSRCheck", "0"},
                    {"CTSCheck", "0"},
                    {"NetDef", "100000000000000000001000"},
                    {"AnswerTimeout", "500"}});
  ProtocolLibrary lib;
  ASSERT_TRUE(lib.Load("Sarnel.dll"));
  ASSERT_EQ(lib.OpenProt(key.path().c_str(), ""), 1) << [&] {
    int code;
    char text[256];
    lib.GetLastProtocolError(&code, text);
    return std::string(text);
  }();

  std::uint8_t frame[] = {'T'};
  std::uint8_t answer[512];
  int length = sizeof answer, detail = 0;
  ASSERT_EQ(lib.EcrIO(1, 3, frame, 1, answer, &length, &detail), 0);
  EXPECT_EQ(answer[0], 'T');
  EXPECT_GT(length, 90);

  HostInfoRecord* info = nullptr;
  ASSERT_EQ(lib.EcrIO(ECRIO_GET_INFO, 0, nullptr, 0, nullptr, nullptr, reinterpret_cast<int*>(&info)), 0);
  EXPECT_EQ(info->protocolType, 1);
  EXPECT_EQ(info->registerCount, 21);
  EXPECT_EQ(info->presenceFlags[1] & 1, 1);
  EXPECT_EQ(info->presenceFlags[2] & 1, 0);
  EXPECT_EQ(info->presenceFlags[21] & 1, 1);

  // Register 21 is on the line's map but the simulator does not serve it.
  static std::uint8_t answers[24][512];
  int lengths[24], codes[24];
  const std::uint8_t status[] = {'S'};
  ASSERT_EQ(info->broadcastIO(3, status, 1, 24, 512, answers, lengths, codes), 0);
  EXPECT_EQ(codes[0], 0);
  EXPECT_EQ(answers[0][0], 'S');
  EXPECT_EQ(codes[20], prot::kResultTimeOut);
  EXPECT_EQ(codes[1], 0);
  EXPECT_EQ(lengths[1], 0);
}

}  // namespace
