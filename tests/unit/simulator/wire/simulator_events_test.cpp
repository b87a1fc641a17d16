// The event forms of the control channel: the bytes each builds from its
// fields with the register's own widths, and the fields it refuses.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "config/bcd_digits.h"
#include "control/control_commands.h"
#include "wire/event_builder.h"

namespace ecrsim {
namespace {

using Bytes = std::vector<std::uint8_t>;

class SimulatorEventsTest : public ::testing::Test {
 protected:
  SimulatorEventsTest() { sim_.AddRegister(1, *BuiltInConfig("t72")); }  // A = 6, C = 7, B = 6

  std::string Run(const std::string& line) { return RunControlLine(sim_, line); }
  Event Only() {
    const std::vector<Event> events = sim_.TakeEvents();
    EXPECT_EQ(events.size(), 1u);
    return events.empty() ? Event{} : events[0];
  }

  Simulator sim_;
};

TEST_F(SimulatorEventsTest, PackedBcdPutsTheSignInTheFirstHalfByte) {
  EXPECT_EQ(PackBcd("1234", 3), (Bytes{0x00, 0x12, 0x34}));
  EXPECT_EQ(PackBcd("-5", 2), (Bytes{0xD0, 0x05}));
  EXPECT_EQ(PackBcd("999", 2), (Bytes{0x09, 0x99}));
  EXPECT_EQ(PackBcd("-999", 2), (Bytes{0xD9, 0x99}));
  EXPECT_EQ(PackBcd("1234", 2), (Bytes{0x12, 0x34}));
  EXPECT_FALSE(PackBcd("-1234", 2));  // no half-byte left for the sign
  EXPECT_FALSE(PackBcd("12345", 2));
  for (const char* bad : {"", "-", "12a", "+1", " 1"}) EXPECT_FALSE(PackBcd(bad, 4)) << bad;
  EXPECT_FALSE(PackBcd("1", 0));
}

TEST_F(SimulatorEventsTest, RecordsTakeTheRegistersWidthsAndTheFlagDigit) {
  EXPECT_EQ(Run("event 1 record 2 1 byte:5 amount:-1000"), "8205D00000001000\nOK\n");
  const Event e = Only();
  EXPECT_EQ(e.ecr, 1);
  EXPECT_EQ(e.kind, kEventDataRecord);
  EXPECT_EQ(e.data.size(), 8u);
  // Flag digit 2 is bit 6, 3 both bits; the kind keeps bits 0-5.
  EXPECT_EQ(Run("event 1 record 63 2"), "7F\nOK\n");
  EXPECT_EQ(Run("event 1 record 0 3"), "C0\nOK\n");
  // Changing the register's widths changes the bytes.
  ASSERT_EQ(Run("set 1 block4 byte 35 2"), "OK\n");
  ASSERT_EQ(Run("set 1 settings byte 9 0x13"), "OK\n");
  EXPECT_EQ(Run("event 1 record 3 0 code:42 amount:7"), "03000042" "0007\nOK\n");
}

TEST_F(SimulatorEventsTest, EveryFieldKind) {
  EXPECT_EQ(Run("event 1 interact textcode:AB text:4:\"X Y\" byte:255 word:258 date:3112241530 hex:00FF"),
            "FF" "4142202020202020202020202020202020202020" "58205920" "FF" "0201" "3112241530" "00FF\nOK\n");
  EXPECT_EQ(Run("event 1 enquiry code:1 amount:2"), "00000000000001" "000000000002\nOK\n");
  EXPECT_EQ(Run("event 1 update code:1 bcd:4:-3 bcdb:4"), "00000000000001" "D0000003" "000000000004\nOK\n");
  EXPECT_EQ(Run("event 1 line"), "OK\n");
  EXPECT_EQ(Run("event 1 line two words"), "OK\n");
  std::vector<Event> events = sim_.TakeEvents();
  ASSERT_EQ(events.size(), 5u);
  EXPECT_EQ(events[0].kind, kEventInteract);
  EXPECT_EQ(events[1].kind, kEventFileEnquiry);
  EXPECT_EQ(events[2].kind, kEventFileUpdate);
  EXPECT_EQ(events[3].kind, kEventDataLine);
  EXPECT_TRUE(events[3].data.empty());
  EXPECT_EQ(events[4].data, (Bytes{'t', 'w', 'o', ' ', 'w', 'o', 'r', 'd', 's'}));
}

TEST_F(SimulatorEventsTest, MalformedFieldsAndOverlongEventsAreRefusedAndQueueNothing) {
  for (const std::string& line :
       std::vector<std::string>{"event 1 record 64 0", "event 1 record 2 4", "event 1 record 2", "event 1 interact amount:1x",
        "event 1 interact amount:1234567890123", "event 1 interact bcd:0:1", "event 1 interact bcd:256:1",
        "event 1 interact text:5", "event 1 interact byte:256", "event 1 interact word:-1",
        "event 1 interact date:31122415", "event 1 interact date:-112241530", "event 1 interact hex:ABC",
        "event 1 interact frob:1", "event 1 interact amount", "event 1 interact textcode:" + std::string(21, 'x'),
        "event 2 interact hex:00", "event 1 7 00 00", "event 1"}) {
    EXPECT_TRUE(Run(line).starts_with("ERROR")) << line;
  }
  // 3 x 255 bytes: over what an event may carry.
  EXPECT_TRUE(Run("event 1 interact text:255:a text:255:b text:255:c").starts_with("ERROR"));
  // A register whose amounts have no width cannot make amount fields.
  ASSERT_EQ(Run("set 1 block4 byte 35 0"), "OK\n");
  EXPECT_TRUE(Run("event 1 enquiry code:1 amount:2").starts_with("ERROR"));
  EXPECT_TRUE(sim_.TakeEvents().empty());
}

TEST_F(SimulatorEventsTest, KeyboardAndOutputFieldsOfTheStatusCommand) {
  ASSERT_EQ(Run("status 1 function 7"), "OK\n");
  ASSERT_EQ(Run("status 1 output 6"), "OK\n");
  EXPECT_TRUE(Run("status 1 output 8").starts_with("ERROR"));
  const std::string shown = Run("status 1");
  EXPECT_NE(shown.find("function 7 open 0 output 6"), std::string::npos) << shown;
  EXPECT_EQ(sim_.Find(1)->keyboard.programmingFunction, 7);
}

}  // namespace
}  // namespace ecrsim
