// The driver window opens logical ports of each kind against the simulator,
// refuses ports it cannot serve with the right message, and turns register
// events into client events or the default answers the register needs.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "protocol/protocol_test_support.h"
#include "translator_gate.h"
#include "window/main_form.h"
#include "window_messages.h"

using namespace ravelin;
using protocol_test::EthernetPortValues;
using protocol_test::PortKey;
using protocol_test::SimControl;

namespace {

struct RecordingNotifier final : Notifier {
  std::vector<std::string> shown;
  void Show(const std::string& text) override { shown.push_back(text); }
};

struct RecordingClient final : IClientEventTarget {
  std::vector<TClientEvent> events;
  void EnqueueEvent(std::unique_ptr<TClientEvent> record) override { events.push_back(*record); }
  void FireProgress(int, int, int, const char*, int*) override {}
  void RunPendingCommand() override {}
};

// The default ceiling is generous: a wait ends as soon as `done` holds, and a
// loaded machine can hold Wine's message delivery back for seconds.
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 30000) {
  const DWORD start = GetTickCount();
  for (;;) {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
    if (done()) return true;
    if (GetTickCount() - start > timeoutMs) return false;
    Sleep(10);
  }
}

std::string Label(const TMainForm& form, int id) {
  char text[256] = {};
  GetDlgItemTextA(form.Handle(), id, text, sizeof text);
  return text;
}

std::string HexOf(const std::string& bytes) {
  std::string hex;
  char digits[3];
  for (unsigned char c : bytes) {
    std::snprintf(digits, sizeof digits, "%02X", c);
    hex += digits;
  }
  return hex;
}

class DriverWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ports_ = protocol_test::FixturePorts();
    sim_ = std::make_unique<SimControl>(ports_.control);
    ASSERT_TRUE(sim_->Ok("fault 1 clear"));
    ASSERT_TRUE(sim_->Ok("log 1 clear"));
  }

  // Opens an Ethernet port on the fixture's simulator.
  void OpenEthernetPort(int number) {
    key_.emplace(number, EthernetPortValues(ports_.wire));
    ASSERT_EQ(form_.OpenLogicalPort(number), 0) << (notifier_.shown.empty() ? "" : notifier_.shown[0]);
    ASSERT_TRUE(form_.PortOpen());
  }

  // True once the simulator's log of register 1 shows `frame` sent by the host.
  bool RegisterGot(const std::string& frame) {
    return PumpUntil([&] { return sim_->Run("log 1").find(" " + HexOf(frame) + " -> ") != std::string::npos; });
  }

  protocol_test::SimPorts ports_;
  std::unique_ptr<SimControl> sim_;
  std::optional<PortKey> key_;
  RecordingNotifier notifier_;
  TMainForm form_{&notifier_};
};

// ---- the window ----

TEST_F(DriverWindowTest, WindowStartsHiddenOnTopAndTheTrayIconShowsAndHidesIt) {
  const HWND window = form_.Handle();
  ASSERT_NE(window, nullptr);
  EXPECT_FALSE(IsWindowVisible(window));
  EXPECT_TRUE(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST);
  EXPECT_EQ(Label(form_, idMediaT), "None");
  SendMessageA(window, WM_TRAYNOTIFY, TTrayIcon::kIconId, WM_LBUTTONUP);
  EXPECT_TRUE(IsWindowVisible(window));
  SendMessageA(window, WM_TRAYNOTIFY, TTrayIcon::kIconId, WM_RBUTTONUP);
  EXPECT_FALSE(IsWindowVisible(window));
  SendMessageA(window, WM_TRAYNOTIFY, TTrayIcon::kIconId, WM_LBUTTONUP);
  SendMessageA(window, WM_COMMAND, idHide, 0);
  EXPECT_FALSE(IsWindowVisible(window));
}

// ---- opening and closing ports ----

TEST_F(DriverWindowTest, EthernetPortOpensThroughTheTranslatorAndCloses) {
  OpenEthernetPort(951);
  EXPECT_TRUE(notifier_.shown.empty());
  EXPECT_EQ(form_.CurrentPort(), 951);
  EXPECT_EQ(form_.Driver()->LibraryFileName(), "Lunsk.dll");
  EXPECT_EQ(Label(form_, idMediaT), "EthernetHostPC");
  // TradInit read the register through OnTradEcrIO and the protocol library.
  EXPECT_NE(sim_->Run("log 1").find(" 53 -> 0 "), std::string::npos) << sim_->Run("log 1");

  form_.UpdateLineStatistics();
  EXPECT_GT(std::stoi(Label(form_, idLastPeriod)), 0);

  EXPECT_TRUE(form_.CloseLogicalPort());
  EXPECT_FALSE(form_.PortOpen());
  EXPECT_EQ(form_.CurrentPort(), -1);
  EXPECT_EQ(Label(form_, idMediaT), "Nessuna");
  EXPECT_FALSE(form_.CloseLogicalPort());
  form_.UpdateLineStatistics();
  EXPECT_EQ(Label(form_, idLastPeriod), "0");
}

// Closing the window while a command file or a client's call runs must not
// pull the port from under it: the command closes it, then the program ends.
TEST_F(DriverWindowTest, CloseWhileACommandRunsLeavesItsPortToIt) {
  OpenEthernetPort(959);
  {
    const TTranslatorGate running;
    ASSERT_TRUE(running.Entered());
    SendMessageA(form_.Handle(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(form_.PortOpen());
  }
  MSG quit;
  EXPECT_TRUE(PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_TRUE(form_.CloseLogicalPort());
}

TEST_F(DriverWindowTest, SerialPortOpensThroughThePseudoTerminal) {
  if (GetFileAttributesA(ECRSIM_STATE_DIR "/socat.pid") == INVALID_FILE_ATTRIBUTES) {
    GTEST_SKIP() << "socat bridge not running";
  }
  PortKey key(952, {{"PortType", "RS232"},
                    {"Port", "COM40"},
                    {"Speed", "115200"},
                    {"DSRCheck", "0"},
                    {"CTSCheck", "0"},
                    {"AnswerTimeout", "800"}});
  ASSERT_EQ(form_.OpenLogicalPort(952), 0) << (notifier_.shown.empty() ? "" : notifier_.shown[0]);
  EXPECT_EQ(form_.Driver()->LibraryFileName(), "Teviot.dll");
  EXPECT_NE(sim_->Run("log 1").find(" 53 -> 0 "), std::string::npos);
  EXPECT_TRUE(form_.CloseLogicalPort());
}

TEST_F(DriverWindowTest, TelematicPortTakesTheClientHandles) {
  PortKey key(953, [&] {
    auto values = EthernetPortValues(ports_.wire);
    values["PortType"] = "Ethernet-RT";
    return values;
  }());
  ASSERT_NE(form_.OpenLogicalPort(953), 20) << (notifier_.shown.empty() ? "" : notifier_.shown[0]);
  EXPECT_EQ(form_.Driver()->LibraryFileName(), "Cadwick.dll");
  EXPECT_EQ(form_.Translator()->fileName(), "QuadrelRT.dll");
  EXPECT_EQ(form_.Translator()->RtClient(1), 1);  // the line's first connection
  EXPECT_TRUE(form_.CloseLogicalPort());
}

TEST_F(DriverWindowTest, PortWithoutPortTypeIsRefusedWithItsMessage) {
  PortKey noType(954, {{"ECRIP", "127.0.0.1"}});
  EXPECT_EQ(form_.OpenLogicalPort(954), 20);
  EXPECT_EQ(form_.OpenLogicalPort(955), 20);  // no key at all
  EXPECT_EQ(notifier_.shown, std::vector<std::string>(2, "La Porta Logica selezionata \xE8 inesistente"));
  EXPECT_FALSE(form_.PortOpen());
  EXPECT_EQ(form_.CurrentPort(), -1);
}

TEST_F(DriverWindowTest, MissingOrIncompleteLibrariesAreNamed) {
  PortKey missing(956, {{"PortType", "NoSuchMaker"}});
  PortKey incomplete(957, {{"PortType", "stdcall_probe"}});
  EXPECT_EQ(form_.OpenLogicalPort(956), 20);
  EXPECT_EQ(form_.OpenLogicalPort(957), 20);
  ASSERT_EQ(notifier_.shown.size(), 2u);
  EXPECT_EQ(notifier_.shown[0], "Impossibile trovare la dll con nome:\n\n\tNoSuchMaker.dll");
  EXPECT_EQ(notifier_.shown[1], "stdcall_probe.dll non compatibile, manca la funzione:\n\nGetLastProtocolError");
}

TEST_F(DriverWindowTest, FailedOpenProtShowsNothingAndKeepsTheLibrarysError) {
  PortKey refusing(958, {{"PortType", "RavelinRefusing"}});
  EXPECT_EQ(form_.OpenLogicalPort(958), 20);
  EXPECT_TRUE(notifier_.shown.empty());
  EXPECT_FALSE(form_.PortOpen());

  // The library has no GetClient, which a plain port type does not need.
  TProtocolDriver driver(refusing.path(), notifier_, nullptr);
  EXPECT_FALSE(driver.IsOpen());
  EXPECT_EQ(driver.LastErrorCode(), 77);
  EXPECT_EQ(driver.LastErrorText(), "line refused by the test library");
  EXPECT_TRUE(notifier_.shown.empty());
}

TEST_F(DriverWindowTest, GetClientIsNotCalledForAPlainPortType) {
  PortKey key(959, EthernetPortValues(ports_.wire));
  // Lunsk.dll has GetClient, but a plain port type never binds it.
  TProtocolDriver driver(key.path(), notifier_, nullptr);
  ASSERT_TRUE(driver.IsOpen());
  EXPECT_FALSE(driver.IsTelematic());
  EXPECT_FALSE(driver.ProtGetClient(1).has_value());
}

// ---- register events ----

TEST_F(DriverWindowTest, EventsWithoutClientGetTheDefaultAnswers) {
  OpenEthernetPort(960);
  ASSERT_TRUE(sim_->Ok("log 1 clear"));
  ASSERT_TRUE(sim_->Ok("event 1 70 12345678"));  // 'F'
  EXPECT_TRUE(RegisterGot(std::string("N\0Nessun Gestor", 15))) << sim_->Run("log 1");
  ASSERT_TRUE(sim_->Ok("event 1 66 0102"));  // 'B'
  EXPECT_TRUE(RegisterGot("B")) << sim_->Run("log 1");
  ASSERT_TRUE(sim_->Ok("event 1 88 414243"));  // 'X'
  ASSERT_TRUE(sim_->Ok("event 1 89 0102"));    // 'Y'
  ASSERT_TRUE(sim_->Ok("event 1 71 01"));      // 'G'
  ASSERT_TRUE(sim_->Ok("event 1 69 01"));      // 'E': accepted, dropped
  ASSERT_TRUE(sim_->Ok("event 1 90 01"));      // 'Z': nobody's
  EXPECT_TRUE(PumpUntil([&] { return Label(form_, idDataCollection) == "2" && Label(form_, idEnquiry) == "2"; }));
  PumpUntil([] { return false; }, 300);
  EXPECT_EQ(Label(form_, idInteractivities), "1");
  EXPECT_EQ(Label(form_, idNetChange), "0");
  // Only the two answers went out.
  const std::string log = sim_->Run("log 1");
  std::size_t frames = 0;
  for (auto at = log.find(" -> "); at != std::string::npos; at = log.find(" -> ", at + 1)) ++frames;
  EXPECT_EQ(frames, 2u) << log;
}

TEST_F(DriverWindowTest, EventsReachTheClientAndItsRepliesTheRegister) {
  OpenEthernetPort(961);
  RecordingClient client;
  const int slot = form_.TakeClientSlot(&client);
  ASSERT_EQ(slot, 0);
  EXPECT_EQ(Label(form_, idConnectionAlive), "1");
  form_.SetSlotEventMask(emInteract | emDataX | emFileExtEnq, slot);
  EXPECT_EQ(Label(form_, idEventMask), std::to_string(emInteract | emDataX | emFileExtEnq));
  ASSERT_TRUE(sim_->Ok("log 1 clear"));

  ASSERT_TRUE(sim_->Ok("event 1 66 ABCD"));
  ASSERT_TRUE(sim_->Ok("event 1 88 414243"));
  ASSERT_TRUE(PumpUntil([&] { return client.events.size() == 2; }));
  EXPECT_EQ(client.events[0].kind, ekInteract);
  EXPECT_EQ(client.events[0].text, "ABCD");
  EXPECT_EQ(client.events[1].kind, ekDataX);
  EXPECT_EQ(client.events[1].text, "ABC");
  EXPECT_EQ(sim_->Run("log 1").find(" -> "), std::string::npos);  // nothing answered yet

  TClientEvent reply = client.events[0];
  reply.text = "Eabc";
  form_.Replies().ReplyInteract(reply);
  EXPECT_TRUE(RegisterGot(std::string("A\x13\x0A\x01\x80" "ERR\0abc\0" "8", 14))) << sim_->Run("log 1");

  // Freeing the last client closes the port.
  form_.FreeClientSlot(slot);
  EXPECT_FALSE(form_.PortOpen());
  EXPECT_EQ(Label(form_, idConnectionAlive), "0");
  EXPECT_EQ(Label(form_, idMediaT), "Nessuna");
}

TEST_F(DriverWindowTest, PortStaysOpenWhileAClientHoldsIt) {
  OpenEthernetPort(962);
  RecordingClient client;
  ASSERT_EQ(form_.TakeClientSlot(&client), 0);
  EXPECT_FALSE(form_.CloseLogicalPort());
  EXPECT_TRUE(form_.PortOpen());
  form_.FreeClientSlot(0);
  EXPECT_FALSE(form_.PortOpen());
}

TEST_F(DriverWindowTest, LostLineIsAStatusChangeNotAMessage) {
  protocol_test::SimProcess own;
  ASSERT_TRUE(own.Start(0));
  PortKey key(963, EthernetPortValues(own.ports.wire));
  ASSERT_EQ(form_.OpenLogicalPort(963), 0);
  RecordingClient client;
  ASSERT_EQ(form_.TakeClientSlot(&client), 0);
  form_.SetSlotEventMask(emStatusChange | emDataX | emInteract | emFileExtEnq, 0);
  own.Stop();
  ASSERT_TRUE(PumpUntil([&] { return !client.events.empty(); }));
  EXPECT_EQ(client.events[0].kind, ekStatusChange);
  EXPECT_EQ(client.events[0].ecr, 0);  // the line is lost
  EXPECT_EQ(Label(form_, idNetChange), "1");
  EXPECT_EQ(Label(form_, idInteractivities), "0");
  form_.FreeClientSlot(0);
}

}  // namespace
