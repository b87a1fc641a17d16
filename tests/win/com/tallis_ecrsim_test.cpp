// The product server (Ravelin.exe) end to end: a late-bound client opens a
// logical port on the simulator through the driver window, the translator and
// the protocol library, and sees the register's events and its own replies.
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>

#include "com/tallis_fixture.h"
#include "protocol/protocol_test_support.h"
#include "sample_receipt.h"

namespace tallis_test {
namespace {

constexpr long kPort = 971;

std::string HexOf(const std::string& bytes) {
  std::string hex;
  char digits[3];
  for (unsigned char c : bytes) {
    std::snprintf(digits, sizeof digits, "%02X", c);
    hex += digits;
  }
  return hex;
}

class RealPort : public TallisSession {
 protected:
  void SetUp() override {
    sim_.emplace(protocol_test::FixturePorts().control);
    ASSERT_TRUE(sim_->Ok("fault 1 clear"));
    if (!key_) key_.emplace(kPort, protocol_test::EthernetPortValues(protocol_test::FixturePorts().wire));
    TallisSession::SetUp();
  }
  long DefaultPort() const override { return kPort; }
  bool RegisterGot(const std::string& frame) {
    return PumpUntil([&] { return sim_->Run("log 1").find(" " + HexOf(frame) + " -> ") != std::string::npos; });
  }

  std::optional<protocol_test::SimControl> sim_;
  std::optional<protocol_test::PortKey> key_;
};

TEST_F(RealPort, CommandsAndConfigurationTravelToTheRegister) {
  ASSERT_EQ(Open(), 0);
  ASSERT_TRUE(sim_->Ok("log 1 clear"));
  EXPECT_EQ(Run(L"#4"), L"OK.");
  EXPECT_NE(sim_->Run("log 1").find(" 53 -> 0 "), std::string::npos) << sim_->Run("log 1");
  std::wstring answer;
  EXPECT_EQ(client_.EcrCmd(L"NOSUCHINSTRUCTION", answer), 257);
  EXPECT_EQ(answer, L"ERROR 1/1 : SINTAX ERROR 1 : INSTRUCTION NOT FOUND");
  EXPECT_EQ(client_.Number(kLastResult), 257);
  const std::string width = sim_->Run("get 1 block4 byte 33");
  EXPECT_EQ(client_.CallLong(L"EcrConfVal", {TVar(12L)}), std::stol(width)) << width;
  EXPECT_FALSE(client_.CallText(L"EcrConfStr", {TVar(2L)}).empty());
}

TEST_F(RealPort, AReceiptSoldThroughTheServerIsWhatTheRegisterPrints) {
  ASSERT_TRUE(sim_->Ok("register 1 t72"));  // a fresh register: receipt number 1, nothing printed
  ASSERT_EQ(Open(), 0);
  for (const char* line : quadrel_test::kSampleReceiptLines)
    EXPECT_EQ(Run(std::wstring(line, line + std::strlen(line))), L"OK.") << line;
  EXPECT_EQ(sim_->Run("print 1"), std::string(quadrel_test::kSampleReceiptPrinted) + "OK\n");
  std::wstring answer;
  EXPECT_EQ(client_.EcrCmd(L"INP NUM=5, TERM=49", answer), 0x1000 | 12);  // a payment key, no receipt
  EXPECT_EQ(answer, L"ERROR 16/12 : ECR REPORTS ERROR 12");
}

TEST_F(RealPort, AnArticleFileLoadsThroughTheServer) {
  ASSERT_TRUE(sim_->Ok("register 1 t72"));  // an empty article file
  ASSERT_EQ(Open(), 0);
  char folder[MAX_PATH];
  ASSERT_GT(GetTempPathA(MAX_PATH, folder), 0u);
  const std::string path = std::string(folder) + "tallis_articles.txt";
  std::ofstream(path, std::ios::binary) << "I,1,PEN\r\nI,2,CAP\r\n";
  EXPECT_EQ(Run(L"TRASFER MODO='UA', FILE='" + std::wstring(path.begin(), path.end()) + L"'").substr(0, 14),
            L"OK.(2 Lines   ");
  EXPECT_NE(sim_->Run("records 1 article").find(HexOf("CAP")), std::string::npos) << sim_->Run("records 1 article");
  DeleteFileA(path.c_str());
}

// The register echoes the closure's receipt while EcrCmd runs; the driver
// window hands each line to the translator, which writes "qrcode.txt" into
// the server's current directory before the nested print lines read it.
TEST_F(RealPort, AClosureReprintedAsQrCapturesItsReceiptThroughTheDriverWindow) {
  ASSERT_TRUE(sim_->Ok("register 1 t72"));
  ASSERT_EQ(Open(), 0);
  const std::filesystem::path dir =
      std::filesystem::temp_directory_path() / ("quadrel-qr-" + std::to_string(GetCurrentProcessId()));
  std::filesystem::create_directories(dir);
  const std::wstring before = client_.CallText(L"GetPropertyString", {TVar(1000002L)});
  client_.Call(L"SetPropertyString", {TVar(1000002L), TVar(dir.wstring())});
  ASSERT_EQ(client_.Number(kLastResult), 0);
  for (const char* line : quadrel_test::kSampleReceiptLines) Run(std::wstring(line, line + std::strlen(line)));
  ASSERT_TRUE(sim_->Ok("print 1 clear"));
  std::wstring answer;
  client_.EcrCmd(L"#27 #3", answer);  // the QR kind itself may not be served
  client_.Call(L"SetPropertyString", {TVar(1000002L), TVar(before)});

  std::ifstream in(dir / "qrcode.txt", std::ios::binary);
  std::stringstream captured;
  captured << in.rdbuf();
  in.close();
  const std::string printed = quadrel_test::WithCrLf(sim_->Run("print 1"));
  EXPECT_NE(captured.str().find("CHIUSURA GIORNALIERA"), std::string::npos) << captured.str();
  EXPECT_EQ(printed.substr(0, captured.str().size()), captured.str());
  std::filesystem::remove_all(dir);
}

TEST_F(RealPort, AsynchronousCommandCompletes) {
  ASSERT_EQ(Open(), 0);
  client_.SetNumber(kAsyncMode, 1);
  client_.SetNumber(kEventMask, 0x40);
  std::wstring answer;
  ASSERT_EQ(client_.EcrCmd(L"#4", answer), 0);
  EXPECT_EQ(answer, L"Comando in esecuzione");
  ASSERT_TRUE(WaitForCalls(L"SOCommandComplete", 1));
  const auto done = events_->CallsOf(L"SOCommandComplete")[0];
  EXPECT_EQ(done.args[1].Text(), L"OK.");
  EXPECT_EQ(done.args[2].Long(), 0);
  EXPECT_EQ(client_.Number(kState), 1);
}

TEST_F(RealPort, RegisterEventsReachTheClientAndItsAnswersTheRegister) {
  ASSERT_EQ(Open(), 0);
  client_.SetNumber(kEventMask, 0x01 | 0x04 | 0x10);
  events_->On(L"SOFileExtEnq", [](DISPPARAMS& params) {
    SetEventRef(params, 4, TVar(0L));
    // code, description, number, (unused), code byte, price
    SetEventRef(params, 5, TVar(std::wstring(L"123,COLA,1,,1,150")));
  });
  events_->On(L"SOInteract", [](DISPPARAMS& params) { SetEventRef(params, 1, TVar(std::wstring(L"Eabc"))); });
  ASSERT_TRUE(sim_->Ok("log 1 clear"));
  ASSERT_TRUE(sim_->Ok("event 1 88 414243"));  // 'X'
  ASSERT_TRUE(WaitForCalls(L"SODataX", 1));
  EXPECT_EQ(events_->CallsOf(L"SODataX")[0].args[1].Text(), L"ABC");

  ASSERT_TRUE(sim_->Ok("event 1 66 0102"));  // 'B'
  ASSERT_TRUE(WaitForCalls(L"SOInteract", 1));
  EXPECT_TRUE(RegisterGot(std::string("A\x13\x0A\x01\x80" "ERR\0abc\0" "8", 14))) << sim_->Run("log 1");

  std::string enquiry = "\xFF";  // a text code follows
  enquiry += "ARTICLE-CODE-0000001";
  ASSERT_TRUE(sim_->Ok("event 1 70 " + HexOf(enquiry)));  // 'F'
  ASSERT_TRUE(WaitForCalls(L"SOFileExtEnq", 1));
  const auto call = events_->CallsOf(L"SOFileExtEnq")[0];
  EXPECT_EQ(call.args[2].Text(), L"ARTICLE-CODE-0000001");
  ASSERT_TRUE(PumpUntil([&] { return sim_->Run("log 1").find(HexOf("COLA")) != std::string::npos; }))
      << "the client's reply text never reached the register: " << sim_->Run("log 1");
  EXPECT_EQ(sim_->Run("log 1").find(HexOf(std::string("N\0Nessun Gestor", 15))), std::string::npos);
}

TEST_F(RealPort, InformationItemOneIsTheRegistersIdentifier) {
  ASSERT_TRUE(sim_->Ok("register 1 t72"));
  ASSERT_TRUE(sim_->Ok("set 1 idblock text 4 11 RT-ID-54321"));  // the identity block's identifier
  ASSERT_EQ(Open(), 0);
  EXPECT_EQ(Run(L"INFO VOCE=1"), L"'RT-ID-54321'");
  EXPECT_TRUE(sim_->Ok("register 1 t72"));  // the next tests see the built-in identifier again
}

// With AutoSlaveOnBatch on (its default) a batch runs between 'H' 1 and 'H' 0.
TEST_F(RealPort, ABatchRunsInsideTheSlaveMode) {
  char folder[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, folder);
  const std::string batch = std::string(folder) + "slave_mode_batch.txt";
  std::FILE* file = std::fopen(batch.c_str(), "wb");
  ASSERT_NE(file, nullptr);
  std::fputs("INFO VOCE=14\r\n", file);  // reads the identity again: a 'T' frame
  std::fclose(file);
  ASSERT_EQ(Open(), 0);
  ASSERT_TRUE(sim_->Ok("log 1 clear"));
  std::wstring answer;
  EXPECT_EQ(client_.EcrCmd(L"@" + std::wstring(batch.begin(), batch.end()), answer), 0);
  const std::string log = sim_->Run("log 1");
  const std::size_t on = log.find(" 4801 -> 0 ");
  const std::size_t off = log.find(" 4800 -> 0 ");
  ASSERT_NE(on, std::string::npos) << log;
  ASSERT_NE(off, std::string::npos) << log;
  const std::size_t identity = log.find(" 54 -> 0 ", on);
  EXPECT_LT(on, identity) << log;
  EXPECT_LT(identity, off) << log;
  std::remove(batch.c_str());
}

// A scale port: the device behind it answers the query the client sends.
class DevicePort : public RealPort {
 protected:
  void SetUp() override {
    auto values = protocol_test::EthernetPortValues(protocol_test::FixturePorts().wire);
    values["PortType"] = "EthernetBilancia";
    key_.emplace(kDevicePort, values);
    RealPort::SetUp();
  }
  long DefaultPort() const override { return kDevicePort; }
  static constexpr long kDevicePort = 972;
};

TEST_F(DevicePort, TheClientGetsTheDevicesAnswerToItsQuery) {
  ASSERT_TRUE(sim_->Ok("device 1 query PESO 0 100 \"1,250 KG\""));
  ASSERT_EQ(Open(), 0);
  EXPECT_EQ(Run(L"HOSTRICH RICHIESTA='PESO'"), L"1,250 KG");
  std::wstring answer;
  EXPECT_EQ(client_.EcrCmd(L"INFO VOCE=1", answer), 268);
}

TEST_F(RealPort, SecondClientIsRefusedAndTheFirstClosesThePortForTheNext) {
  ASSERT_EQ(Open(), 0);
  TTallisClient second;
  ASSERT_EQ(second.Create(), S_OK);
  auto* secondEvents = new TEventRecorder;
  second.SetNumber(kLogicalPort, kPort);
  EXPECT_EQ(second.OpenService(secondEvents), 1);
  EXPECT_EQ(client_.Close(), 0);
  EXPECT_EQ(second.OpenService(secondEvents), 0);
  std::wstring answer;
  EXPECT_EQ(second.EcrCmd(L"#4", answer), 0);
  EXPECT_EQ(second.Close(), 0);
  second.Reset();
  secondEvents->Release();
}

}  // namespace
}  // namespace tallis_test
