// The driver window's decisions that need no window: which library serves a
// port type, where libraries are loaded from, client slots, line statistics,
// and what register events become (client events or default answers).
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "port/port_types.h"
#include "port/program_library.h"
#include "window/client_slots.h"
#include "window/line_statistics.h"
#include "window/register_events.h"
#include "window_messages.h"

using namespace ravelin;

namespace {

// ---- library by port type ----

TEST(ProtocolLibraryFor, MakersLibrariesByPortType) {
  EXPECT_EQ(ProtocolLibraryFor("RS485").fileName, "Sarnel.dll");
  EXPECT_EQ(ProtocolLibraryFor("RS232").fileName, "Teviot.dll");
  EXPECT_EQ(ProtocolLibraryFor("EthernetHostPC").fileName, "Lunsk.dll");
  EXPECT_EQ(ProtocolLibraryFor("EthernetXonXoffTipo2").fileName, "Pelvar.dll");
  EXPECT_EQ(ProtocolLibraryFor("Bilancia").fileName, "Ostrum.dll");
  EXPECT_EQ(ProtocolLibraryFor("EthernetBilancia").fileName, "Ostrum.dll");
  EXPECT_EQ(ProtocolLibraryFor("Ethernet-RT").fileName, "Cadwick.dll");
  EXPECT_EQ(ProtocolLibraryFor("RS232USB-RT").fileName, "Cadwick.dll");
}

TEST(ProtocolLibraryFor, OtherTypesNameTheirOwnLibrary) {
  EXPECT_EQ(ProtocolLibraryFor("Modem").fileName, "Modem.dll");
  EXPECT_FALSE(ProtocolLibraryFor("Modem").telematic);
  // Names are compared exactly: a differently written type is "any other".
  EXPECT_EQ(ProtocolLibraryFor("rs232").fileName, "rs232.dll");
}

TEST(ProtocolLibraryFor, OnlyTheTwoTelematicTypesAreRt) {
  EXPECT_TRUE(IsTelematicPortType("Ethernet-RT"));
  EXPECT_TRUE(IsTelematicPortType("RS232USB-RT"));
  for (const char* type : {"RS485", "RS232", "EthernetHostPC", "EthernetXonXoffTipo2", "Bilancia",
                           "EthernetBilancia", "Modem", "RT"}) {
    EXPECT_FALSE(IsTelematicPortType(type)) << type;
  }
}

// ---- where libraries come from ----

TEST(LoadProgramLibrary, OnlyBareFileNamesAreLoaded) {
  EXPECT_TRUE(IsBareFileName("Lunsk.dll"));
  EXPECT_FALSE(IsBareFileName("..\\Lunsk.dll"));
  EXPECT_FALSE(IsBareFileName("C:Lunsk.dll"));
  EXPECT_FALSE(IsBareFileName("sub/Lunsk.dll"));
  EXPECT_FALSE(IsBareFileName(""));
  EXPECT_EQ(LoadProgramLibrary(ProgramFolder() + "Sarnel.dll"), nullptr);
}

TEST(LoadProgramLibrary, TheProgramFolderIsSearchedAndTheCurrentDirectoryIsNot) {
  namespace fs = std::filesystem;
  const fs::path planted = fs::temp_directory_path() / "ravelin_plant_test";
  fs::create_directories(planted);
  // A library that exists only in the current directory is not taken.
  fs::copy_file(ProgramFolder() + "Sarnel.dll", planted / "RavelinPlanted.dll", fs::copy_options::overwrite_existing);
  char previous[MAX_PATH];
  GetCurrentDirectoryA(MAX_PATH, previous);
  ASSERT_TRUE(SetCurrentDirectoryA(planted.string().c_str()));
  HMODULE plantedModule = LoadProgramLibrary("RavelinPlanted.dll");
  HMODULE ours = LoadProgramLibrary("Sarnel.dll");
  SetCurrentDirectoryA(previous);
  EXPECT_EQ(plantedModule, nullptr);
  ASSERT_NE(ours, nullptr);
  char path[MAX_PATH];
  GetModuleFileNameA(ours, path, MAX_PATH);
  EXPECT_EQ(std::string(path), ProgramFolder() + "Sarnel.dll");
  FreeLibrary(ours);
  if (plantedModule) FreeLibrary(plantedModule);
  fs::remove_all(planted);
}

// ---- client slots ----

struct RecordingClient final : IClientEventTarget {
  std::vector<TClientEvent> events;
  int progressCalls = 0;
  void EnqueueEvent(std::unique_ptr<TClientEvent> record) override { events.push_back(*record); }
  void FireProgress(int, int, int, const char*, int*) override { ++progressCalls; }
  void RunPendingCommand() override {}
};

TEST(ClientSlots, OneClientHoldsThePortAndAutoRunKeepsClientsOut) {
  TClientSlots slots;
  RecordingClient first, second;
  slots.SetAutoRunRunning(true);
  EXPECT_EQ(slots.Take(&first), -1);
  slots.SetAutoRunRunning(false);
  EXPECT_EQ(slots.Take(&first), 0);
  EXPECT_EQ(slots.Take(&second), -1);
  EXPECT_EQ(slots.OccupiedCount(), 1);
  EXPECT_EQ(slots.Free(0), 0);
  EXPECT_EQ(slots.Take(&second), 0);
}

TEST(ClientSlots, MaskKeepsTheNineBitsAndIsClearedWithTheSlot) {
  TClientSlots slots;
  RecordingClient client;
  ASSERT_EQ(slots.Take(&client), 0);
  EXPECT_TRUE(slots.SetMask(0x7FFFFFFF, 0));
  EXPECT_EQ(slots.Mask(0), kAllEventMaskBits);
  EXPECT_EQ(slots.CombinedMask(), kAllEventMaskBits);
  EXPECT_TRUE(slots.SetMask(emDataX, 0));
  EXPECT_EQ(slots.Mask(0), emDataX);
  EXPECT_EQ(slots.FirstClientWith(emDataX), &client);
  EXPECT_EQ(slots.FirstClientWith(emDataY), nullptr);
  slots.Free(0);
  EXPECT_EQ(slots.Mask(0), 0);
  EXPECT_EQ(slots.FirstClientWith(emDataX), nullptr);
  EXPECT_FALSE(slots.SetMask(emDataX, 1));  // no such slot
}

// ---- line statistics ----

TEST(LineStatistics, BarIsCappedAndTheCountShownWhole) {
  TLineStatistics statistics;
  const TLineSample sample = statistics.Tick(true, 10000);
  EXPECT_EQ(sample.lastPeriod, 10000);
  EXPECT_EQ(sample.bar, kMaxLineBar);
  EXPECT_TRUE(sample.portOpen);
  EXPECT_EQ(statistics.Tick(true, 4500).bar, 4500);
  EXPECT_EQ(statistics.Tick(true, 12).bar, 12);
}

TEST(LineStatistics, IconTurnsOnlyWhileBytesMove) {
  TLineStatistics statistics;
  std::vector<int> icons;
  for (int i = 0; i < 8; ++i) icons.push_back(statistics.Tick(true, 5).iconIndex);
  EXPECT_EQ(icons, (std::vector<int>{0, 1, 2, 3, 4, 5, 0, 1}));
  const TLineSample idle = statistics.Tick(true, 0);
  EXPECT_EQ(idle.iconIndex, 0);
  EXPECT_EQ(idle.bar, 0);
  // The turn goes on where it stopped.
  EXPECT_EQ(statistics.Tick(true, 5).iconIndex, 2);
}

TEST(LineStatistics, ClosedPortShowsNothingWhateverTheCount) {
  TLineStatistics statistics;
  const TLineSample closed = statistics.Tick(false, 777);
  EXPECT_EQ(closed.lastPeriod, 0);
  EXPECT_EQ(closed.bar, 0);
  EXPECT_FALSE(closed.portOpen);
  EXPECT_EQ(closed.iconIndex, 0);
  EXPECT_EQ(statistics.Tick(true, -5).lastPeriod, 0);
}

// ---- register events ----

TEST(EventMessages, HandledCharactersAreEcrEventsOthersAreOther) {
  for (int c : {'B', 'E', 'F', 'G', 'X', 'Y'}) EXPECT_EQ(MessageForEventChar(c), WM_ECREVENT) << char(c);
  for (int c : {int{'Z'}, int{'b'}, 0, 8192 + 'B'}) EXPECT_EQ(MessageForEventChar(c), WM_ECROTHER) << c;
}

TEST(DefaultAnswers, EnquiryReplyIsExactlyFifteenBytes) {
  const Bytes reply = UnhandledEnquiryReply();
  const std::string expected("N\0Nessun Gestor", 15);
  EXPECT_EQ(std::string(reply.begin(), reply.end()), expected);
  EXPECT_EQ(UnhandledInteractReply(), Bytes{'B'});
}

TEST(InteractErrorFrame, ErrorReplyBecomesTheErrorFrameByteForByte) {
  const Bytes frame = BuildInteractErrorFrame("Eabc");
  const Bytes expected{'A', 0x13, 0x0A, 0x01, 0x80, 'E', 'R', 'R', 0x00, 'a', 'b', 'c', 0x00, '8'};
  EXPECT_EQ(frame, expected);
  EXPECT_EQ(BuildInteractErrorFrame("e"), (Bytes{'A', 0x13, 0x07, 0x01, 0x80, 'E', 'R', 'R', 0x00, 0x00, '8'}));
  EXPECT_TRUE(IsInteractErrorReply("eX"));
  EXPECT_FALSE(IsInteractErrorReply(""));
  EXPECT_FALSE(IsInteractErrorReply("OK"));
}

TEST(InteractErrorFrame, ReplyTooLongForTheLengthByteIsCutNotWrapped) {
  const std::string reply = "E" + std::string(400, 'x');
  const Bytes frame = BuildInteractErrorFrame(reply);
  EXPECT_EQ(frame[2], 255);
  EXPECT_EQ(frame.size(), kMaxInteractErrorReply + 10);
  EXPECT_EQ(frame.back(), '8');
  // The longest reply that fits is kept whole.
  const Bytes fits = BuildInteractErrorFrame("E" + std::string(kMaxInteractErrorReply - 1, 'y'));
  EXPECT_EQ(fits[2], 255);
  EXPECT_EQ(fits[fits.size() - 3], 'y');
}

struct FakeTranslator final : IEventTranslator {
  std::vector<int> lengths;  // the data length of each call
  unsigned lastReplyCode = 99;
  int lastStatus = 0;
  std::string lastReplyText;
  std::string DataX(int ecr, const std::uint8_t*, int length) override {
    lengths.push_back(length);
    return "X" + std::to_string(ecr);
  }
  std::string DataY(int, const std::uint8_t*, int length) override {
    lengths.push_back(length);
    return "Y";
  }
  std::string Interact(int, const std::uint8_t* data, int length) override {
    lengths.push_back(length);
    return std::string(reinterpret_cast<const char*>(data), static_cast<std::size_t>(length));
  }
  void FileExtEnq(int, const std::uint8_t*, int length, TClientEvent& record) override {
    lengths.push_back(length);
    record.number = 1;
    record.text = "CODE";
    record.value1 = 2.5;
  }
  void FileExtUpd(int, const std::uint8_t*, int length, TClientEvent& record) override {
    lengths.push_back(length);
    record.number = 3;
    record.text = "UPD";
    record.value1 = 1.5;
    record.value2 = 7;
  }
  Bytes enquiryReply{'F', 1, 2};
  Bytes ReplyToEnquiry(int, unsigned replyCode, int status, const std::string& replyText) override {
    lastReplyCode = replyCode;
    lastStatus = status;
    lastReplyText = replyText;
    return enquiryReply;
  }
};

struct FakeLink final : IRegisterLink {
  struct Sent {
    int ecr;
    Bytes bytes;
    bool exchanged;
  };
  std::vector<Sent> sent;
  bool refuse = false;
  std::vector<int> unsent;
  bool SendToRegister(int ecr, const Bytes& data) override {
    sent.push_back({ecr, data, false});
    return !refuse;
  }
  void ExchangeWithRegister(int ecr, const Bytes& frame) override { sent.push_back({ecr, frame, true}); }
  void ReportUnsentReply(int ecr) override { unsent.push_back(ecr); }
};

struct FakeCounters final : IEventCounters {
  int counts[4] = {};
  void Count(TEventCounter counter) override { ++counts[static_cast<int>(counter)]; }
};

class RegisterEventsTest : public ::testing::Test {
 protected:
  TEcrMessage Message(int type, int ecr, const std::string& data) {
    TEcrMessage message{};
    message.ecr = ecr;
    message.type = type;
    message.length = static_cast<int>(data.size());
    std::copy(data.begin(), data.end(), message.data);
    return message;
  }
  int Connect(std::int32_t mask) {
    const int slot = slots.Take(&client);
    slots.SetMask(mask, slot);
    return slot;
  }

  FakeTranslator translator;
  FakeLink link;
  FakeCounters counters;
  TClientSlots slots;
  RecordingClient client;
  TRegisterEvents events{translator, link, slots, counters};
};

TEST_F(RegisterEventsTest, EnquiryWithoutClientGetsTheDefaultReplyUntranslated) {
  Connect(emDataX | emInteract);  // a client, but not for enquiries
  events.HandleMessage(Message('F', 4, "\x12\x34"));
  ASSERT_EQ(link.sent.size(), 1u);
  EXPECT_EQ(link.sent[0].ecr, 4);
  EXPECT_FALSE(link.sent[0].exchanged);
  EXPECT_EQ(link.sent[0].bytes, UnhandledEnquiryReply());
  EXPECT_TRUE(translator.lengths.empty());
  EXPECT_TRUE(client.events.empty());
  EXPECT_EQ(counters.counts[static_cast<int>(TEventCounter::Enquiry)], 1);
}

TEST_F(RegisterEventsTest, EnquiryWithClientIsQueuedAndAnsweredAfterTheHandler) {
  Connect(emFileExtEnq);
  events.HandleMessage(Message('F', 2, "\x12\x34\x56"));
  EXPECT_TRUE(link.sent.empty());
  ASSERT_EQ(client.events.size(), 1u);
  TClientEvent record = client.events[0];
  EXPECT_EQ(record.kind, ekFileExtEnq);
  EXPECT_EQ(record.ecr, 2);
  EXPECT_EQ(record.number, 1);
  EXPECT_EQ(record.text, "CODE");
  EXPECT_EQ(record.value1, 2.5);
  EXPECT_EQ(record.replyCode, kUnansweredReplyCode);

  record.replyCode = 0;
  record.replyText = std::string(2000, 'r');
  events.ReplyFileExtEnq(record);
  EXPECT_EQ(translator.lastReplyCode, 0u);
  EXPECT_EQ(translator.lastStatus, 1);
  EXPECT_EQ(translator.lastReplyText.size(), 1023u);  // the reply buffer's limit
  ASSERT_EQ(link.sent.size(), 1u);
  EXPECT_EQ(link.sent[0].bytes, (Bytes{'F', 1, 2}));
  EXPECT_EQ(link.sent[0].ecr, 2);
}

TEST_F(RegisterEventsTest, InteractivityWithoutClientIsAnsweredWithB) {
  events.HandleMessage(Message('B', 1, "\x01\x02"));
  ASSERT_EQ(link.sent.size(), 1u);
  EXPECT_EQ(link.sent[0].bytes, Bytes{'B'});
  EXPECT_EQ(counters.counts[static_cast<int>(TEventCounter::Interactivity)], 1);
}

TEST_F(RegisterEventsTest, InteractivityRepliesGoAsErrorFrameOrAsTheyAre) {
  Connect(emInteract);
  events.HandleMessage(Message('B', 3, "hello"));
  EXPECT_TRUE(link.sent.empty());
  ASSERT_EQ(client.events.size(), 1u);
  TClientEvent record = client.events[0];
  EXPECT_EQ(record.kind, ekInteract);
  EXPECT_EQ(record.text, "hello");

  record.text = "Eabc";
  events.ReplyInteract(record);
  record.text = "OK1";
  events.ReplyInteract(record);
  ASSERT_EQ(link.sent.size(), 2u);
  EXPECT_TRUE(link.sent[0].exchanged);
  EXPECT_EQ(link.sent[0].ecr, 3);
  EXPECT_EQ(link.sent[0].bytes, BuildInteractErrorFrame("Eabc"));
  EXPECT_FALSE(link.sent[1].exchanged);
  EXPECT_EQ(link.sent[1].bytes, (Bytes{'O', 'K', '1'}));
}

TEST_F(RegisterEventsTest, EveryReplyFitsTheLinkAndAFailedSendIsReported) {
  TClientEvent record;
  record.ecr = 2;
  events.ReplyInteract(record);  // empty
  record.text = std::string(700, 'x');
  events.ReplyInteract(record);
  translator.enquiryReply.clear();  // the translator built nothing
  events.ReplyFileExtEnq(record);
  link.refuse = true;
  events.ReplyFileExtEnq(record);
  ASSERT_EQ(link.sent.size(), 4u);
  EXPECT_EQ(link.sent[0].bytes, EmptyInteractReply());
  EXPECT_EQ(link.sent[1].bytes, Bytes(kMaxSendDataBytes, 'x'));
  EXPECT_EQ(link.sent[2].bytes, UnhandledEnquiryReply());
  EXPECT_EQ(link.unsent, std::vector<int>{2});
}

TEST_F(RegisterEventsTest, DataAndUpdatesGoToClientsThatWantThemOnly) {
  events.HandleMessage(Message('X', 1, "line"));
  events.HandleMessage(Message('G', 1, "\x01"));
  EXPECT_TRUE(client.events.empty());
  EXPECT_TRUE(link.sent.empty());  // nothing to answer for these

  Connect(emDataX | emFileExtUpd);
  events.HandleMessage(Message('X', 5, "line"));
  events.HandleMessage(Message('Y', 5, "rec"));
  events.HandleMessage(Message('G', 5, "\x01"));
  ASSERT_EQ(client.events.size(), 2u);
  EXPECT_EQ(client.events[0].kind, ekDataX);
  EXPECT_EQ(client.events[0].text, "X5");
  EXPECT_EQ(client.events[1].kind, ekFileExtUpd);
  EXPECT_EQ(client.events[1].text, "UPD");
  EXPECT_EQ(client.events[1].value2, 7);
  EXPECT_EQ(counters.counts[static_cast<int>(TEventCounter::DataCollection)], 3);
  EXPECT_EQ(counters.counts[static_cast<int>(TEventCounter::Enquiry)], 2);
}

TEST_F(RegisterEventsTest, AcceptedAndUnknownTypesAreDropped) {
  Connect(kAllEventMaskBits);
  events.HandleMessage(Message('E', 1, "x"));
  events.HandleMessage(Message('Z', 1, "x"));
  EXPECT_TRUE(client.events.empty());
  EXPECT_TRUE(link.sent.empty());
  EXPECT_TRUE(translator.lengths.empty());
}

TEST_F(RegisterEventsTest, MessageLengthIsHeldToTheDataItCarries) {
  Connect(emDataX);
  TEcrMessage message = Message('X', 1, "abc");
  message.length = 100000;
  events.HandleMessage(message);
  message.length = -3;
  events.HandleMessage(message);
  EXPECT_EQ(translator.lengths, (std::vector<int>{256, 0}));
}

TEST_F(RegisterEventsTest, StatusChangeCarriesValueAndDetail) {
  Connect(emStatusChange);
  events.HandleStatusChange(3, 7);
  events.HandleStatusChange(0, 0);  // a line value of 0 is a status change too
  ASSERT_EQ(client.events.size(), 2u);
  EXPECT_EQ(client.events[0].kind, ekStatusChange);
  EXPECT_EQ(client.events[0].ecr, 3);
  EXPECT_EQ(client.events[0].number, 7);
  EXPECT_EQ(client.events[1].ecr, 0);
  EXPECT_EQ(counters.counts[static_cast<int>(TEventCounter::StatusChange)], 2);
}

}  // namespace
