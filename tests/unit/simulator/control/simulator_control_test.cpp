#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "control/control_commands.h"

namespace ecrsim {
namespace {

using Bytes = std::vector<std::uint8_t>;

class SimulatorControlTest : public ::testing::Test {
 protected:
  SimulatorControlTest() { sim_.AddRegister(1, *BuiltInConfig("t72")); }
  std::string Run(const std::string& line) { return RunControlLine(sim_, line); }
  Simulator sim_;
};

TEST_F(SimulatorControlTest, SetAndGetWriteAndReadTheAnswers) {
  EXPECT_EQ(Run("set 1 identity word 67 0x2345"), "OK\n");
  EXPECT_EQ(Run("get 1 identity word 67"), "9029\nOK\n");
  EXPECT_EQ(Run("set 1 identity text 1 10 SHORT ID"), "OK\n");  // rest of the line, padded
  EXPECT_EQ(sim_.Find(1)->Config().Text(Area::Identity, 1, 10), "SHORT ID  ");
  EXPECT_EQ(Run("set 1 fileinfo hex 2 A1B2C3"), "OK\n");
  EXPECT_EQ(Run("get 1 fileinfo hex 2 3"), "A1B2C3\nOK\n");
  EXPECT_EQ(Run("set 1 feature 77 3"), "OK\n");
  EXPECT_EQ(sim_.Find(1)->Config().FeatureLevel(77), 3);
  EXPECT_EQ(Run("set 1 identity size 60"), "OK\n");
  EXPECT_EQ(sim_.Exchange(1, Bytes{'T'}).answer.size(), 61u);
}

TEST_F(SimulatorControlTest, ACardGoesInAfterItsDelay) {
  EXPECT_EQ(Run("card 1 blank after 60000"), "OK\n");
  EXPECT_EQ(sim_.Find(1)->Exchange(Bytes{'C', 4}).answer, (Bytes{'C', kCardMissing}));
  EXPECT_EQ(Run("card 1 blank"), "OK\n");
  EXPECT_EQ(sim_.Find(1)->Exchange(Bytes{'C', 4}).answer, (Bytes{'C', kCardBlank}));
  EXPECT_EQ(Run("card 1"), "card blank number 0 balance 0 owner \"\" \"\" last 0\nOK\n");
}

TEST_F(SimulatorControlTest, PlacedBytesShowInBothMemories) {
  EXPECT_EQ(Run("place 1 0x1234 A1B2"), "OK\n");
  EXPECT_EQ(Run("place 1 extended 0x100 FF"), "OK\n");
  EXPECT_EQ(sim_.Find(1)->Exchange(Bytes{'D', 0x34, 0x12, 2}).answer, (Bytes{'D', 0xA1, 0xB2}));
  EXPECT_EQ(sim_.Find(1)->Exchange(Bytes{'O', 20, 0, 1, 0, 0, 1}).answer, (Bytes{'O', 0, 0xFF}));
  EXPECT_EQ(Run("place 1 clear"), "OK\n");
  EXPECT_NE(sim_.Find(1)->Exchange(Bytes{'O', 20, 0, 1, 0, 0, 1}).answer, (Bytes{'O', 0, 0xFF}));
}

TEST_F(SimulatorControlTest, BadValuesAreRefusedWithAReason) {
  for (const char* line :
       {"set 1 identity byte 3 256", "set 1 identity byte 0 1", "set 1 nowhere byte 1 1",
        "set 1 block1 size 10", "set 1 feature 128 1", "set 2 identity byte 1 1", "set 1 identity hex 1 ABC",
        "set 1 identity word 1 0x", "register 25 t72", "register 2 nosuch", "fault 1 result 300",
        "fault 1 critical 0", "fault 1 letter XY", "fault 1 delay 5 after x", "status 1 mood 1",
        "event 1 1 GG", "frobnicate", "card 1 gold", "card 1 blank after", "card 1 blank later 5",
        "place 1 0x10000 00", "place 1 extended 0x100000 00", "place 1 12 XY", "device 1 close 79 1",
        "device 1 query Q x 0",
        "set 1 identity text 1 4 \"open"}) {
    const std::string reply = Run(line);
    EXPECT_EQ(reply.rfind("ERROR ", 0), 0u) << line << " -> " << reply;
  }
  EXPECT_EQ(Run(std::string(kMaxControlLine + 1, 'x')), "ERROR line too long\n");
}

TEST_F(SimulatorControlTest, FaultsQueuedByCommandPlayOnTheRightFrame) {
  EXPECT_EQ(Run("fault 1 result 8 6 after 1"), "OK\n");
  EXPECT_EQ(Run("fault 1 letter X"), "OK\n");
  EXPECT_EQ(sim_.Exchange(1, Bytes{'S'}).hostResult, 0);
  const Reply refused = sim_.Exchange(1, Bytes{'H', 1});
  EXPECT_EQ(refused.hostResult, 8);
  EXPECT_EQ(refused.answer, (Bytes{'H', 6}));
  EXPECT_EQ(sim_.Exchange(1, Bytes{'T'}).answer[0], 'X');
  EXPECT_EQ(Run("fault 1 drop"), "OK\n");
  EXPECT_EQ(Run("fault 1 clear"), "OK\n");
  EXPECT_TRUE(sim_.Exchange(1, Bytes{'S'}).answered);
}

TEST_F(SimulatorControlTest, LogShowsFramesAndWhatTheyGot) {
  sim_.Exchange(1, Bytes{'C', 4});
  Run("fault 1 drop");
  sim_.Exchange(1, Bytes{'S'});
  EXPECT_EQ(Run("log 1"), "1 4304 -> 0 4301\n2 53 -> none\nOK\n");
  EXPECT_EQ(Run("log 1 clear"), "OK\n");
  EXPECT_EQ(Run("log 1"), "OK\n");
}

TEST_F(SimulatorControlTest, StatusFieldsAndEventsAndStop) {
  EXPECT_EQ(Run("status 1 transaction 1"), "OK\n");
  EXPECT_EQ(Run("status 1 card 1"), "OK\n");
  EXPECT_EQ(sim_.Exchange(1, Bytes{'S'}).answer[3], 1);
  EXPECT_EQ(sim_.Exchange(1, Bytes{'C', 4}).answer[1], 0);
  EXPECT_EQ(Run("event 1 7 0102FF"), "OK\n");
  const auto events = sim_.TakeEvents();
  ASSERT_EQ(events.size(), 1u);
  EXPECT_EQ(events[0].kind, 7);
  EXPECT_EQ(events[0].data, (Bytes{1, 2, 0xFF}));
  EXPECT_FALSE(sim_.stopRequested);
  EXPECT_EQ(Run("stop"), "OK\n");
  EXPECT_TRUE(sim_.stopRequested);
}

TEST_F(SimulatorControlTest, PrintoutDisplayAndPrinterConditionAreReadAndSet) {
  const std::string file = ::testing::TempDir() + "printout-1.txt";
  std::remove(file.c_str());
  sim_.Find(1)->printer.file = file;
  sim_.Exchange(1, Bytes{'A', 1, 26, 1, 24, '1'});  // 1.00 on department 1, paid in cash
  const std::string printed = Run("print 1");
  EXPECT_NE(printed.find("REPARTO 1                           1.00\nTOTALE"), std::string::npos) << printed;
  std::ifstream in(file, std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}) + "OK\n", printed);
  EXPECT_EQ(Run("print 1 clear"), "OK\n");
  EXPECT_EQ(Run("print 1"), "OK\n");
  Run("set 1 block4 byte 33 32");  // a width set after start reaches the printer
  sim_.Exchange(1, Bytes{'A', 1, 26, 1, 24, '1'});
  EXPECT_NE(Run("print 1").find("REPARTO 1                   1.00\n"), std::string::npos);
  Run("print 1 clear");

  EXPECT_EQ(Run("status 1 printer 43"), "OK\n");
  EXPECT_EQ(Run("status 1 printer 7").rfind("ERROR ", 0), 0u);
  EXPECT_EQ(sim_.Exchange(1, Bytes{'A', 1, 26, 1, 24}).answer[2], 43);
  EXPECT_EQ(sim_.Exchange(1, Bytes{'A', 0}).answer[2], 43);  // the clear key cannot end it
  EXPECT_EQ(Run("status 1 printer 0"), "OK\n");
  EXPECT_EQ(sim_.Exchange(1, Bytes{'A', 0}).answer[2], 0);

  EXPECT_EQ(sim_.Exchange(1, Bytes{'O', 1, 'H', 'I'}).hostResult, 8);  // t72 has no displays
  Run("set 1 feature 99 1");
  EXPECT_EQ(sim_.Exchange(1, Bytes{'O', 1, 'H', 'I'}).answer, (Bytes{'O', 0}));
  EXPECT_EQ(sim_.Exchange(1, Bytes{'O', 10, 12}).answer, (Bytes{'O', 0}));
  EXPECT_EQ(Run("display 1"), "1 HI\ncontrol 12\nOK\n");
}

TEST_F(SimulatorControlTest, RegistersCanBeAddedListedAndRemoved) {
  EXPECT_EQ(Run("register 3 s12"), "OK\n");
  EXPECT_EQ(Run("registers"), "1 t72 model T1RT072A id TX72000123\n3 s12 model S200B12X id SK12000456\nOK\n");
  EXPECT_EQ(Run("remove 1"), "OK\n");
  EXPECT_EQ(Run("remove 1"), "ERROR no register 1\n");
}

TEST_F(SimulatorControlTest, JournalClockAndClosureAndTheXmlStoreAreSetAndShown) {
  EXPECT_EQ(Run("journal 1 date 020124"), "OK\n");
  EXPECT_EQ(Run("journal 1 time 1230"), "OK\n");
  EXPECT_EQ(Run("journal 1 closure 7"), "OK\n");
  EXPECT_EQ(Run("journal 1"), "date 020124 time 1230 closure 7 documents 0\nOK\n");
  EXPECT_TRUE(Run("journal 1 date 2024").starts_with("ERROR"));
  EXPECT_TRUE(Run("journal 1 closure 0").starts_with("ERROR"));
  EXPECT_EQ(Run("xml 1 oldest 4"), "OK\n");
  EXPECT_EQ(Run("xml 1 add \"<a/>\""), "OK\n");
  EXPECT_EQ(Run("xml 1 add \"<b/>\" \"<c/>\""), "OK\n");
  EXPECT_EQ(Run("xml 1 send"), "1\nOK\n");  // the one without an outcome
  EXPECT_EQ(Run("xml 1"), "oldest 4 documents 2\nOK\n");
  EXPECT_EQ(sim_.Find(1)->xmlStore.Byte(kXmlStoreBlockBytes + 2048), '<');
}

TEST(SimulatorConfigFileTest, ConfigurationTextBuildsRegistersAndNamesTheBadLine) {
  Simulator sim;
  std::string error;
  EXPECT_TRUE(LoadConfigText(sim,
                             "# two registers\n"
                             "register 1 t72\r\n"
                             "\n"
                             "register 2 m4\n"
                             "set 2 block4 byte 33 30\n"
                             "status 2 key 2\n",
                             error))
      << error;
  EXPECT_EQ(sim.RegisterNumbers(), (std::vector<int>{1, 2}));
  EXPECT_EQ(sim.Find(2)->Config().Byte(Area::Block4, 33), 30);
  EXPECT_EQ(sim.Find(2)->Status().keyPosition, 2);

  EXPECT_FALSE(LoadConfigText(sim, "register 3 t72\nfault 3 drop\n", error));
  EXPECT_EQ(error, "line 2: ERROR not a configuration command: fault");
  EXPECT_FALSE(LoadConfigFile(sim, "/nonexistent/ecrsim.cfg", error));
}

}  // namespace
}  // namespace ecrsim
