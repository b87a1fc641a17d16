// The protocol library against the fixture's simulator over TCP: frames, the
// host-info record, each injected fault, events, and closing with the reader running.
#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <fstream>
#include <mutex>
#include <sstream>
#include <thread>
#include <vector>

#include "interfaces/host_info.h"
#include "protocol/protocol_test_support.h"

using namespace protocol_test;

namespace {

constexpr int kPortNumber = 901;
constexpr int kAnswerTimeoutMs = 800;

// What the library reported through its two callbacks, in order.
struct CallbackLog {
  std::mutex mutex;
  std::condition_variable changed;
  std::vector<std::pair<int, int>> rx, net;

  bool WaitRx(std::size_t count, int ms = 5000) {
    std::unique_lock lock(mutex);
    return changed.wait_for(lock, std::chrono::milliseconds(ms), [&] { return rx.size() >= count; });
  }
  void Clear() {
    std::lock_guard lock(mutex);
    rx.clear();
    net.clear();
  }
};
CallbackLog callbacks;

void __stdcall OnRx(int index, int type) {
  std::lock_guard lock(callbacks.mutex);
  callbacks.rx.emplace_back(index, type);
  callbacks.changed.notify_all();
}
void __stdcall OnNet(int value, int detail) {
  std::lock_guard lock(callbacks.mutex);
  callbacks.net.emplace_back(value, detail);
  callbacks.changed.notify_all();
}

struct Exchange {
  int result = -1;
  int detail = -1;
  int length = 0;
  std::array<std::uint8_t, 600> answer{};
  std::string Letter() const { return length > 0 ? std::string(1, static_cast<char>(answer[0])) : ""; }
};

class ProtocolLinkTest : public ::testing::Test {
 protected:
  void SetUp() override {
    sim.emplace(FixturePorts().control);
    ASSERT_TRUE(sim->Ok("register 1 t72"));
    ASSERT_TRUE(sim->Ok("status 1 state 1"));
    key.emplace(kPortNumber, EthernetPortValues(FixturePorts().wire, kAnswerTimeoutMs));
    ASSERT_TRUE(lib.Load("Sarnel.dll"));
    callbacks.Clear();
    ASSERT_EQ(lib.OpenProt(key->path().c_str(), ""), 1);
    lib.SetOnRxEvent(OnRx);
    lib.SetOnNetChangeEvent(OnNet);
  }
  void TearDown() override { lib.CloseProt(0); }

  Exchange Io(int ecr, std::vector<std::uint8_t> frame, int capacity = 512, int mode = 3) {
    Exchange e;
    e.length = capacity;
    e.result = lib.EcrIO(ecr, mode, frame.data(), static_cast<int>(frame.size()), e.answer.data(), &e.length,
                         &e.detail);
    return e;
  }
  int LastErrorCode() {
    int code = -1;
    char text[256];
    lib.GetLastProtocolError(&code, text);
    return code;
  }

  std::optional<SimControl> sim;
  std::optional<PortKey> key;
  ProtocolLibrary lib;
};

TEST_F(ProtocolLinkTest, StatusFrameIsAnsweredWithTheSixStatusBytes) {
  ASSERT_TRUE(sim->Ok("status 1 transaction 33"));
  const Exchange e = Io(1, {'S'});
  EXPECT_EQ(e.result, prot::kResultAnswered);
  ASSERT_EQ(e.length, 7);
  EXPECT_EQ(Hex(e.answer.data(), 3), "53 01 00");
  EXPECT_EQ(e.answer[3], 33);
}

TEST_F(ProtocolLinkTest, ModeAndFrameReachTheRegisterUnchanged) {
  ASSERT_TRUE(sim->Ok("log 1 clear"));
  // Keys the register takes without effect (0x34 would be a payment key).
  EXPECT_EQ(Io(1, {'A', 0x12, 0x41}, 512, 11).result, prot::kResultAnswered);
  EXPECT_NE(sim->Run("log 1").find("411241"), std::string::npos) << sim->Run("log 1");
}

TEST_F(ProtocolLinkTest, OutLenIsTheCapacityOfTheAnswerBuffer) {
  const Exchange full = Io(1, {'T'});
  ASSERT_EQ(full.result, prot::kResultAnswered);
  ASSERT_GT(full.length, 8);

  Exchange small = Io(1, {'T'}, 8);
  EXPECT_EQ(small.result, prot::kResultRequestError);
  EXPECT_EQ(small.detail, prot::kDetailAnswerTooLong);
  EXPECT_EQ(small.length, 0);
  EXPECT_EQ(small.answer[0], 0) << "nothing may be written past a too small buffer";
  EXPECT_EQ(LastErrorCode(), prot::kErrAnswerTooLong);

  const Exchange exact = Io(1, {'T'}, full.length);
  EXPECT_EQ(exact.result, prot::kResultAnswered);
  EXPECT_EQ(exact.length, full.length);
}

TEST_F(ProtocolLinkTest, FramesOutsideTheLimitsAreRefusedWithoutSending) {
  ASSERT_TRUE(sim->Ok("log 1 clear"));
  EXPECT_EQ(Io(1, {}).detail, prot::kDetailBadFrame);
  EXPECT_EQ(Io(1, std::vector<std::uint8_t>(513, 'A')).result, prot::kResultRequestError);
  EXPECT_EQ(Io(256, {'S'}).detail, prot::kDetailBadFrame);
  EXPECT_EQ(Io(1, std::vector<std::uint8_t>(512, 'A')).result, prot::kResultAnswered);
  std::istringstream log(sim->Run("log 1"));
  std::string line;
  int frames = 0;
  while (std::getline(log, line)) frames += line.find("->") != std::string::npos;
  EXPECT_EQ(frames, 1);
}

TEST_F(ProtocolLinkTest, HostInfoRecordDescribesThePort) {
  HostInfoRecord* info = nullptr;
  ASSERT_EQ(lib.EcrIO(ECRIO_GET_INFO, 0, nullptr, 0, nullptr, nullptr, reinterpret_cast<int*>(&info)), 0);
  ASSERT_NE(info, nullptr);
  EXPECT_EQ(info->protocolType, 0);
  EXPECT_EQ(info->versionMajor, 1);
  EXPECT_EQ(info->registerCount, 1);
  ASSERT_NE(info->presenceFlags, nullptr);
  EXPECT_EQ(info->presenceFlags[1] & 1, 1);
  EXPECT_EQ(info->presenceFlags[2] & 1, 0);
  ASSERT_NE(info->status, nullptr);
  ASSERT_NE(info->statusEx, nullptr);
  ASSERT_NE(info->broadcastIO, nullptr);
  ASSERT_NE(info->trace, nullptr);
  EXPECT_EQ(info->progress, nullptr);

  ASSERT_TRUE(sim->Ok("status 1 state 0x25"));
  std::array<std::uint8_t, 64> record{};
  EXPECT_EQ(info->status(1, 1, record.data()), 0);
  EXPECT_EQ(record[0], 0x25) << "the readiness flags are the register's state byte";

  int status = 0, length = 0;
  std::array<std::uint8_t, kHostStatusExBytes> bytes{};
  EXPECT_EQ(info->statusEx(1, 0, &status, &length, bytes.data()), 0);
  EXPECT_EQ(status, 0x25);
  EXPECT_EQ(length, 6);

  EXPECT_EQ(info->status(7, 1, record.data()), prot::kResultTimeOut) << "register 7 is not there";
}

TEST_F(ProtocolLinkTest, BroadcastAnswersEachPresentRegister) {
  HostInfoRecord* info = nullptr;
  ASSERT_EQ(lib.EcrIO(ECRIO_GET_INFO, 0, nullptr, 0, nullptr, nullptr, reinterpret_cast<int*>(&info)), 0);
  static std::uint8_t answers[24][512];
  int lengths[24], codes[24];
  const std::uint8_t frame[] = {'S'};
  ASSERT_EQ(info->broadcastIO(3, frame, 1, 24, 512, answers, lengths, codes), 0);
  EXPECT_EQ(codes[0], 0);
  EXPECT_EQ(lengths[0], 7);
  EXPECT_EQ(answers[0][0], 'S');
  EXPECT_EQ(lengths[1], 0);
}

TEST_F(ProtocolLinkTest, ServiceRequestsOfTheTranslatorAreServed) {
  for (int request : {ECRIO_XFER_BEGIN, ECRIO_ECHO_ON, ECRIO_XFER_END, ECRIO_SETUP_108, ECRIO_SETUP_109}) {
    int status = -1;
    EXPECT_EQ(lib.EcrIO(request, 0, nullptr, 0, nullptr, nullptr, &status), 0) << request;
    EXPECT_EQ(status, 0) << request;
  }
  int status = -1;
  EXPECT_EQ(lib.EcrIO(ECRIO_QUERY, 0, nullptr, 1, nullptr, nullptr, &status), prot::kResultRequestError);
  EXPECT_EQ(LastErrorCode(), prot::kErrUnknownRequest);
  EXPECT_EQ(lib.EcrIO(-1, 0, nullptr, 0, nullptr, nullptr, &status), prot::kResultRequestError);
}

TEST_F(ProtocolLinkTest, HangUpAndDialAgain) {
  int status = -1;
  EXPECT_EQ(lib.EcrIO(ECRIO_HANGUP, 0, nullptr, 0, nullptr, nullptr, &status), 0);
  EXPECT_EQ(Io(1, {'S'}).result, prot::kResultNoLine);
  int timeout = 1000;
  EXPECT_EQ(lib.EcrIO(ECRIO_CONNECT, 0, nullptr, 0, nullptr, &timeout, &status), 0);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(Io(1, {'S'}).result, prot::kResultAnswered);
  EXPECT_EQ(lib.GetClient(1), 2) << "the second connection of this open";
}

// Each fault the simulator injects, as the host sees it.
TEST_F(ProtocolLinkTest, InjectedFaultsMapToTheirResults) {
  struct Case {
    const char* fault;
    std::vector<std::uint8_t> frame;
    int result;
    int detail;  // -1: not checked
    const char* answerHex;
  } cases[] = {
      {"fault 1 result 1 7", {'S'}, 1, 7, ""},
      {"fault 1 result 2 9", {'S'}, 2, 9, ""},
      {"fault 1 result 4 3", {'S'}, 4, 3, ""},
      {"fault 1 result 8 5", {'T'}, 8, -1, "54 05"},
      {"fault 1 result 32", {'S'}, 32, -1, "53 01"},
      {"fault 1 letter X", {'S'}, 0, -1, "58 01"},
      {"fault 1 short 2", {'S'}, 0, -1, "53 01"},
      {"fault 1 delay 100", {'S'}, 0, -1, "53 01"},
      {"fault 1 delay 1500", {'S'}, prot::kResultTimeOut, prot::kDetailTimeOut, ""},
      {"fault 1 drop", {'S'}, prot::kResultTimeOut, prot::kDetailTimeOut, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.fault);
    ASSERT_TRUE(sim->Ok(c.fault));
    const Exchange e = Io(1, c.frame);
    EXPECT_EQ(e.result, c.result);
    if (c.detail >= 0) {
      EXPECT_EQ(e.detail, c.detail);
    }
    EXPECT_EQ(Hex(e.answer.data(), std::min(e.length, 2)), c.answerHex);
    // A late answer must never be taken for the next exchange's.
    const Exchange next = Io(1, {'T'});
    EXPECT_EQ(next.result, 0);
    EXPECT_EQ(next.Letter(), "T");
  }
}

TEST_F(ProtocolLinkTest, CriticalStateAnswersKeyFramesWith32UntilTheClearKey) {
  ASSERT_TRUE(sim->Ok("fault 1 critical 9"));
  EXPECT_EQ(Io(1, {'S'}).result, 0);
  const Exchange keys = Io(1, {'A', 0x01});
  EXPECT_EQ(keys.result, prot::kResultCritical);
  EXPECT_EQ(keys.Letter(), "S");
  EXPECT_EQ(keys.answer[2], 9);
  EXPECT_EQ(Io(1, {'A', 0x00}).result, 0);
  EXPECT_EQ(Io(1, {'A', 0x01}).result, 0);
}

TEST_F(ProtocolLinkTest, AbsentRegisterTimesOut) {
  const auto start = std::chrono::steady_clock::now();
  const Exchange e = Io(5, {'S'});
  const auto took = std::chrono::steady_clock::now() - start;
  EXPECT_EQ(e.result, prot::kResultTimeOut);
  EXPECT_EQ(LastErrorCode(), prot::kErrTimeOut);
  EXPECT_GE(took, std::chrono::milliseconds(kAnswerTimeoutMs - 50));
  EXPECT_LT(took, std::chrono::milliseconds(kAnswerTimeoutMs + 1500));
}

TEST_F(ProtocolLinkTest, EventsReachTheCallbackAndGetEcrMessage) {
  ASSERT_TRUE(sim->Ok("event 1 88 0102AB"));
  ASSERT_TRUE(sim->Ok("event 1 66 41"));
  ASSERT_TRUE(callbacks.WaitRx(2));
  std::vector<std::pair<int, int>> rx;
  {
    std::lock_guard lock(callbacks.mutex);
    rx = callbacks.rx;
  }
  EXPECT_EQ(rx[0].second, 'X');
  EXPECT_EQ(rx[1].second, 'B');
  EXPECT_NE(rx[0].first, rx[1].first);

  TEcrMessage message{};
  ASSERT_EQ(lib.GetEcrMessage(rx[0].first, &message), 1);
  EXPECT_EQ(message.ecr, 1);
  EXPECT_EQ(message.type, 'X');
  EXPECT_EQ(message.length, 3);
  EXPECT_EQ(Hex(message.data, message.length), "01 02 AB");
  ASSERT_EQ(lib.GetEcrMessage(rx[1].first, &message), 1);
  EXPECT_EQ(Hex(message.data, message.length), "41");

  EXPECT_EQ(lib.GetEcrMessage(rx[1].first + 1, &message), 0) << "no message under an index never announced";
  EXPECT_EQ(lib.GetEcrMessage(0, &message), 0);
  EXPECT_EQ(lib.GetEcrMessage(rx[0].first, nullptr), 0);
}

TEST_F(ProtocolLinkTest, LongEventIsCutTo256Bytes) {
  std::string hex;
  for (int i = 0; i < 300; ++i) {
    char byte[3];
    std::snprintf(byte, sizeof byte, "%02X", i & 0xFF);
    hex += byte;
  }
  ASSERT_TRUE(sim->Ok("event 1 89 " + hex));
  ASSERT_TRUE(callbacks.WaitRx(1));
  TEcrMessage message{};
  ASSERT_EQ(lib.GetEcrMessage(callbacks.rx[0].first, &message), 1);
  EXPECT_EQ(message.length, 256);
  EXPECT_EQ(message.data[255], 255);
}

TEST_F(ProtocolLinkTest, EventsArriveWhileAnExchangeWaits) {
  ASSERT_TRUE(sim->Ok("fault 1 delay 300"));
  std::thread events([&] {
    SimControl control(FixturePorts().control);
    control.Run("event 1 71 00");
  });
  const Exchange e = Io(1, {'S'});
  events.join();
  EXPECT_EQ(e.result, 0);
  EXPECT_EQ(e.Letter(), "S");
  EXPECT_TRUE(callbacks.WaitRx(1));
}

TEST_F(ProtocolLinkTest, SendDataGoesOutWithoutWaiting) {
  ASSERT_TRUE(sim->Ok("log 1 clear"));
  const std::uint8_t reply[] = {'A', 0x13, 0x02, 'O', 'K'};
  EXPECT_EQ(lib.SendData(1, reply, sizeof reply), 1);
  EXPECT_EQ(lib.SendData(1, reply, 0), 0);
  EXPECT_EQ(LastErrorCode(), prot::kErrBadArgument);
  // The register's answer to it is dropped; the next exchange still gets its own.
  EXPECT_EQ(Io(1, {'T'}).Letter(), "T");
  EXPECT_NE(sim->Run("log 1").find("4113024F4B"), std::string::npos);
}

TEST_F(ProtocolLinkTest, GetEcrIStatusPacksTheStatusBytes) {
  ASSERT_TRUE(sim->Ok("status 1 state 3"));
  ASSERT_TRUE(sim->Ok("status 1 critical 7"));
  ASSERT_TRUE(sim->Ok("status 1 transaction 1"));
  int status = 0;
  ASSERT_EQ(lib.GetEcrIStatus(1, &status), 1);
  EXPECT_EQ(status, 0x010703);
  EXPECT_EQ(lib.GetEcrIStatus(6, &status), 0);
  EXPECT_EQ(LastErrorCode(), prot::kErrTimeOut);
  EXPECT_EQ(lib.GetEcrIStatus(1, nullptr), 0);
}

TEST_F(ProtocolLinkTest, ByteCountIsWhatMovedSinceThePreviousCall) {
  lib.GetByteCount();
  const Exchange e = Io(1, {'S'});
  ASSERT_EQ(e.result, 0);
  // request: 11 bytes of envelope + 1; answer: 11 + 7
  EXPECT_EQ(lib.GetByteCount(), 12 + 18);
  EXPECT_EQ(lib.GetByteCount(), 0);
}

TEST_F(ProtocolLinkTest, CloseProtEndsAWaitingExchangeAndTheReader) {
  ASSERT_TRUE(sim->Ok("fault 1 drop"));
  std::atomic<int> result{-1};
  std::thread waiting([&] { result = Io(1, {'S'}).result; });
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  const auto start = std::chrono::steady_clock::now();
  lib.CloseProt(0);
  const auto took = std::chrono::steady_clock::now() - start;
  waiting.join();
  EXPECT_LT(took, std::chrono::milliseconds(1000));
  EXPECT_EQ(result, prot::kResultNoLine);
  const Exchange after = Io(1, {'S'});
  EXPECT_EQ(after.result, prot::kResultNoLine);
  EXPECT_EQ(after.detail, prot::kDetailNotOpen);
  EXPECT_EQ(LastErrorCode(), prot::kErrNotOpen);
  lib.CloseProt(0);  // twice is harmless
}

TEST_F(ProtocolLinkTest, ProtocolLogRecordsTheMessages) {
  lib.CloseProt(0);
  char folder[MAX_PATH];
  GetTempPathA(MAX_PATH, folder);
  const std::string logFile = std::string(folder) + "protocol_link_test.log";
  DeleteFileA(logFile.c_str());
  auto values = EthernetPortValues(FixturePorts().wire);
  values["LogFileName"] = logFile;
  values["LogLevel"] = "1";
  PortKey logged(kPortNumber + 1, values);
  ASSERT_EQ(lib.OpenProt(logged.path().c_str(), ""), 1);
  ASSERT_EQ(Io(1, {'S'}).result, 0);
  lib.CloseProt(0);
  std::ifstream file(logFile);
  std::stringstream text;
  text << file.rdbuf();
  EXPECT_NE(text.str().find("> ecr 1 seq"), std::string::npos) << text.str();
  EXPECT_NE(text.str().find("< ecr 1 seq"), std::string::npos) << text.str();
  EXPECT_NE(text.str().find(": 53 01"), std::string::npos) << text.str();
}

TEST(ProtocolOpenTest, MissingPortKeyOrUnreachableRegisterFailsWithACode) {
  ProtocolLibrary lib;
  ASSERT_TRUE(lib.Load("Teviot.dll"));
  int code = 0;
  char text[256];
  EXPECT_EQ(lib.OpenProt("Software\\Velmora\\NoSuchPort", ""), 0);
  lib.GetLastProtocolError(&code, text);
  EXPECT_EQ(code, prot::kErrNoPortKey);

  auto values = EthernetPortValues(FixturePorts().wire);
  values["ECRPortNumber"] = "x1";
  {
    PortKey key(kPortNumber + 2, values);
    EXPECT_EQ(lib.OpenProt(key.path().c_str(), ""), 0);
    lib.GetLastProtocolError(&code, text);
    EXPECT_EQ(code, prot::kErrBadSettings);
  }
  values["ECRPortNumber"] = "1";  // nothing listens there
  PortKey key(kPortNumber + 2, values);
  EXPECT_EQ(lib.OpenProt(key.path().c_str(), ""), 0);
  lib.GetLastProtocolError(&code, text);
  EXPECT_EQ(code, prot::kErrConnect);
  EXPECT_NE(std::string(text).find("127.0.0.1:1"), std::string::npos) << text;
}

TEST(ProtocolOpenTest, EveryLibraryNameLoadsWithAllFifteenFunctions) {
  for (const char* name : {"Sarnel.dll", "Teviot.dll", "Lunsk.dll", "Pelvar.dll", "Ostrum.dll", "Cadwick.dll",
                           "Modem.dll"}) {
    ProtocolLibrary lib;
    EXPECT_TRUE(lib.Load(name)) << name;
  }
}

}  // namespace
