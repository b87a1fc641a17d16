// A scale port end to end: the translator (through Ravelin's loader) and the
// protocol library carry commands 77 to 79 to the device behind the port, the
// simulator's: the progress function the host gets, an abort, the device's
// status, and a query whose answer comes too late.
#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "device_requests.h"
#include "interfaces/host_info.h"
#include "port/translator_library.h"
#include "protocol/protocol_test_support.h"

using namespace protocol_test;

namespace {

constexpr int kPortNumber = 931;
constexpr int kHostServiceClass = 0x100000;
constexpr std::size_t kPieceBytes = 512;  // what one service message carries

class QuietNotifier final : public Notifier {
 public:
  void Show(const std::string&) override {}
};

class DevicePortRoad : public ::testing::Test {
 protected:
  void SetUp() override {
    sim.emplace(FixturePorts().control);
    ASSERT_TRUE(sim->Ok("register 1 t72"));
    auto values = EthernetPortValues(FixturePorts().wire, 2000);
    values["PortType"] = "EthernetBilancia";
    key.emplace(kPortNumber, values);
    translator.emplace(key->path(), notifier);
    ASSERT_TRUE(translator->ok()) << translator->errorText();
    ASSERT_TRUE(protocol.Load("Ostrum.dll"));
    ASSERT_EQ(protocol.OpenProt(key->path().c_str(), ""), 1);
    translator->SetServiceHandler([this](int a1, int a2, void* a3, void* a4, void* a5, void* a6, void* a7) {
      return protocol.EcrIO(a1, a2, a3, static_cast<int>(reinterpret_cast<std::intptr_t>(a4)), a5,
                            static_cast<int*>(a6), static_cast<int*>(a7));
    });
    translator->SetProgressHandler([this](int, int, int, const std::string& text, int* abort) {
      progress.push_back(text);
      if (abortAt != 0 && progress.size() >= abortAt) *abort = 1;
    });
    ASSERT_EQ(translator->CallTradInit(), 0);
  }
  void TearDown() override {
    if (translator && translator->ok()) translator->entry().TradClose();
    protocol.CloseProt(0);
  }

  int Cmd(const std::string& line) { return translator->EcrCmd(line, answer); }
  // A file of `size` bytes, each its offset's low byte; its name.
  std::string FileOf(std::size_t size) {
    char folder[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, folder);
    const std::string name = std::string(folder) + "device_port_transfer.bin";
    std::ofstream out(name, std::ios::binary);
    for (std::size_t i = 0; i < size; ++i) out.put(static_cast<char>(i));
    return name;
  }
  std::string LastTransfer() {
    const std::string all = sim->Run("device 1 transfers");
    const std::size_t end = all.rfind("\nOK");
    const std::size_t start = all.rfind('\n', end - 1);
    return all.substr(start == std::string::npos ? 0 : start + 1,
                      end - (start == std::string::npos ? 0 : start + 1));
  }
  static std::string HexOfOffsets(std::size_t count) {
    std::string hex;
    char digits[3];
    for (std::size_t i = 0; i < count; ++i) {
      std::snprintf(digits, sizeof digits, "%02X", static_cast<unsigned>(i & 0xFF));
      hex += digits;
    }
    return hex;
  }

  QuietNotifier notifier;
  std::optional<SimControl> sim;
  std::optional<PortKey> key;
  ProtocolLibrary protocol;
  std::optional<TTranslatorLibrary> translator;
  std::string answer;
  std::vector<std::string> progress;
  std::size_t abortAt = 0;
};

TEST_F(DevicePortRoad, TheHostsProgressFunctionReportsEachPieceAndItsStopAbortsTheTransfer) {
  HostInfoRecord* info = nullptr;
  ASSERT_EQ(protocol.EcrIO(ECRIO_GET_INFO, 0, nullptr, 0, nullptr, nullptr, reinterpret_cast<int*>(&info)),
            0);
  EXPECT_EQ(info->protocolType, 6) << "a networked scale: a device reached through a connection";
  abortAt = 2;
  EXPECT_EQ(Cmd("HOSTTAB TIPO='MANBIL', PARAMETRO='abc', FILE='" + FileOf(3 * kPieceBytes) + "'"),
            kHostServiceClass + prot::kServiceStopped);
  ASSERT_EQ(progress.size(), 2u);
  EXPECT_EQ(progress[0], "CALL IN PROGRESS");
  EXPECT_EQ(LastTransfer(), "78 kind 2 entry 0 text \"abc\" aborted " + HexOfOffsets(2 * kPieceBytes));
}

TEST_F(DevicePortRoad, AWholeTransferEndsWithTheDevicesStatus) {
  ASSERT_TRUE(sim->Ok("device 1 close 77 3"));
  EXPECT_EQ(Cmd("HOSTTOT TIPO='TOTALIPLU', PARAMETRO='p', OPZIONE=1, FILE='" + FileOf(700) + "'"),
            kHostServiceClass + 3);
  EXPECT_EQ(progress.size(), 2u);
  EXPECT_EQ(LastTransfer(), "77 kind 1 entry 1 text \"p\" closed " + HexOfOffsets(700));
  ASSERT_TRUE(sim->Ok("device 1 close 77 0"));
  EXPECT_EQ(Cmd("HOSTTOT TIPO='RAW'"), 0);
  EXPECT_EQ(LastTransfer(), "77 kind 5 entry 84 text \"\" closed ");
  EXPECT_EQ(Cmd("HOSTTAB TIPO='RAW', FILE='no such file.csv'"),
            kHostServiceClass + prot::kServiceFileUnreadable);
}

TEST_F(DevicePortRoad, AQueryEndsAtItsTimeOutWhenTheAnswerComesLate) {
  ASSERT_TRUE(sim->Ok("device 1 query LENTA 0 3000 TARDI"));
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(Cmd("HOSTRICH TIMEOUT=500, RICHIESTA='LENTA'"), kHostServiceClass);
  const auto took = std::chrono::steady_clock::now() - start;
  EXPECT_GE(took, std::chrono::milliseconds(450));
  EXPECT_LT(took, std::chrono::milliseconds(1500));

  ASSERT_TRUE(sim->Ok("device 1 query STATO 0 0 PRONTO 1"));
  EXPECT_EQ(Cmd("HOSTRICH RICHIESTA='STATO'"), 0);
  EXPECT_EQ(answer, "PRONTO 1");
  EXPECT_EQ(sim->Run("device 1 transfers"), "OK\n");
  EXPECT_EQ(Cmd("HOSTRICH RICHIESTA='NESSUNA'"), kHostServiceClass + 1);
}

}  // namespace
