// Events a simulated register emits through its control channel, received as
// the host receives them (over the wire format) and handed to the event
// export of their kind, as the driver window does: data-collection lines,
// data-capture records of each layout, interaction data, external-file
// enquiries and updates.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "control/control_commands.h"
#include "definition_text.h"
#include "interfaces/translator_exports.h"
#include "language/definition_file.h"
#include "run/command_executor.h"
#include "sim_host.h"
#include "wire/event_builder.h"

namespace quadrel {
namespace {

// What one event export made of the message.
struct Decoded {
  std::string text;
  int status = 0;
  double value1 = 0;
  double value2 = 0;
};

class EventSim : public test_support::WithShippedDefinitions<> {
 protected:
  void SetUp() override {
    // t72: 6-byte amounts, 7-byte codes, 6-byte second values, 2 decimals.
    host_.sim.AddRegister(1, *ecrsim::BuiltInConfig("t72"));
    host_.Install();
    ASSERT_EQ(TradExecCommand("SELEZIONA CASSA=1"), 0);
    Library().options.EnableTradDC = 1;
  }
  void TearDown() override { ResetProcessState(); }

  // Emits the event, fetches it as the host does and decodes it by its kind.
  Decoded Emit(const std::string& command) {
    const std::string reply = ecrsim::RunControlLine(host_.sim, command);
    EXPECT_TRUE(reply.ends_with("OK\n")) << command << ": " << reply;
    const std::vector<SimHostEvent> events = host_.FetchEvents();
    EXPECT_EQ(events.size(), 1u) << command;
    if (events.size() != 1) return {};
    return Decode(events[0]);
  }

  static Decoded Decode(const SimHostEvent& e) {
    const int length = static_cast<int>(e.data.size());
    Decoded out;
    char code[21] = {};
    switch (e.kind) {
      case ecrsim::kEventDataLine:
        out.text = Trad_DCXEvent(e.ecr, e.data.data(), length);
        break;
      case ecrsim::kEventDataRecord:
        out.text = Trad_DCYEvent(e.ecr, e.data.data(), length);
        break;
      case ecrsim::kEventInteract:
        out.text = Trad_IEvent(e.ecr, e.data.data(), length);
        break;
      case ecrsim::kEventFileEnquiry:
        Trad_FileExtEnq(e.ecr, e.data.data(), length, &out.status, code, &out.value1);
        out.text = code;
        break;
      case ecrsim::kEventFileUpdate:
        Trad_FileExtUpd(e.ecr, e.data.data(), length, &out.status, code, &out.value1, &out.value2);
        out.text = code;
        break;
      default:
        ADD_FAILURE() << "event kind " << e.kind;
    }
    return out;
  }

  SimHost host_;
};

TEST_F(EventSim, DataLineAndInteractionData) {
  EXPECT_EQ(Emit("event 1 line TOTALE     EURO 12,50").text, "TOTALE     EURO 12,50");
  EXPECT_EQ(Emit("event 1 line \"  INDENTED\"").text, "  INDENTED");
  EXPECT_EQ(Emit("event 1 interact hex:0102AB byte:200 word:513").text, "0102ABC80102");
}

TEST_F(EventSim, ExternalFileEnquiries) {
  Decoded d = Emit("event 1 enquiry code:1234567 amount:500000 amount:250000");
  EXPECT_EQ(d.status, 0);
  EXPECT_EQ(d.text, "00000001234567");
  EXPECT_DOUBLE_EQ(d.value1, 2.0);

  d = Emit("event 1 enquiry textcode:\"ART 12\"");
  EXPECT_EQ(d.status, 1);
  EXPECT_EQ(d.text, "ART 12" + std::string(14, ' '));
  EXPECT_DOUBLE_EQ(d.value1, 1.0);

  d = Emit("event 1 enquiry code:42 amount:-1500");
  EXPECT_DOUBLE_EQ(d.value1, -1.5);

  // An enquiry cut inside its code: no over-read, the quantity stays 1.
  d = Emit("event 1 enquiry bcd:3:42");
  EXPECT_DOUBLE_EQ(d.value1, 1.0);
}

TEST_F(EventSim, ExternalFileUpdates) {
  Decoded d = Emit("event 1 update code:99 bcd:4:12500 bcdb:-7");
  EXPECT_EQ(d.status, 0);
  EXPECT_EQ(d.text, "00000000000099");
  EXPECT_DOUBLE_EQ(d.value1, 12.5);
  EXPECT_DOUBLE_EQ(d.value2, -7.0);

  d = Emit("event 1 update textcode:ABC bcd:4:-2000");
  EXPECT_EQ(d.status, 1);
  EXPECT_DOUBLE_EQ(d.value1, -2.0);
  EXPECT_DOUBLE_EQ(d.value2, 0.0);
}

// One record of each layout, with t72's widths (A = 6, C = 7), in mode 1. A
// 7-byte code shows its last 13 digits; a byte field shows two digits.
struct RecordCase {
  const char* fields;
  const char* text;
};

class EventSimRecords : public EventSim, public ::testing::WithParamInterface<RecordCase> {};

TEST_P(EventSimRecords, DecodeToTheirLine) {
  EXPECT_EQ(Emit(std::string("event 1 record ") + GetParam().fields).text, GetParam().text)
      << GetParam().fields;
}

INSTANTIATE_TEST_SUITE_P(
    EachLayout, EventSimRecords,
    ::testing::Values(
        RecordCase{"2 1 byte:5 amount:1000 amount:2000", "02,05,-000000001000,-000000002000"},
        RecordCase{"3 0 code:777 byte:3 amount:150 amount:300",
                   "03,0000000000777,03,+000000000150,+000000000300"},
        RecordCase{"3 0 textcode:\"PANE\" byte:1 amount:99 amount:0",
                   "03,'PANE                ',01,+000000000099,+000000000000"},
        RecordCase{"3 0 code:5 byte:2 amount:10 amount:20 word:7 byte:0 amount:30",
                   "03,0000000000005,02,+000000000010,+000000000020,00007,-000000000030"},
        RecordCase{"5 0 amount:123456", "05,000000123456"}, RecordCase{"6 0 byte:17", "06,17"},
        RecordCase{"7 0 bcd:1:3 amount:100 bcd:1:4 amount:-200", "07,03,+000000000100,04,-000000000200"},
        RecordCase{"9 2 bcd:2:12 amount:450 code:31", "09,0012,-000000000450,0000000000031"},
        RecordCase{"10 0 bcd:2:1 amount:5", "10,0001,+000000000005"},
        RecordCase{"11 0 amount:75 code:88 word:300", "11,+000000000075,0000000000088,00300"},
        RecordCase{"12 3 amount:12", "12,+000000000012"},
        RecordCase{"14 0 bcd:2:9 amount:-1", "14,0009,-000000000001"},
        RecordCase{"13 0 bcd:2:1 bcd:1:2 bcd:2:3 date:3112241530", "13,'31/12/24 15:30',0003,02,0001"},
        RecordCase{"15 0 byte:9 bcd:3:456 bcd:2:78 hex:000000 date:1503251045 bcd:7:98765",
                   "15,'15/03/25 10:45',09,000456,00,0078,0000000098765"},
        RecordCase{"4 0 bcd:2:7 amount:1250 date:0102251200 bcd:3:0 amount:-50 bcd:3:123 text:16:NOTE",
                   "04,'01/02/25 12:00',0007,+000000001250,-000000000050,000123,'NOTE            '"},
        RecordCase{"27 0 bcd:2:1 bcd:2:2 amount:300 date:0101250800 bcd:3:0 amount:-400 text:16:REFUND",
                   "27,'01/01/25 08:00',0001,0002,+000000000300,-000000000400,'REFUND          '"},
        RecordCase{"17 0 bcd:5:1234567890 byte:1 byte:2 hex:000000000000000000000000000000 bcd:2:55 "
                   "amount:999 bcd:3:-5",
                   "17,1234567890,01,02,0055,+000000000999,-000005"},
        RecordCase{
            "18 0 bcd:5:1234567890 byte:1 byte:2 hex:000000000000000000000000000000 bcd:2:55 "
            "amount:999 bcd:3:-5 byte:1 amount:20 bcd:3:7 date:0101250000",
            "18,1234567890,01,02,0055,+000000000999,-000005,01,-000000000020,+000007,'01/01/25 00:00'"},
        RecordCase{"25 0 bcd:2:11 bcd:1:22 bcd:3:333 amount:4444 bcd:2:55",
                   "25,0011,22,000333,+000000004444,0055"},
        RecordCase{"26 0 bcd:2:1 bcd:1:2 bcd:2:3 date:2812241800 bcd:2:4 bcd:7:12345678901234",
                   "26,'28/12/24 18:00',0003,0004,02,0001,12345678901234"},
        RecordCase{"16 0 hex:0102", "16"}, RecordCase{"19 0 byte:4", "19,04"}, RecordCase{"30 1", "30"}));

TEST_F(EventSim, RecordsInMode2CarryTheFlagDigitAndMode0IsHex) {
  Library().options.DataCaptureFormat = 2;
  EXPECT_EQ(Emit("event 1 record 12 3 amount:12").text, "12,3,+000000000012");
  EXPECT_EQ(Emit("event 1 record 30 2").text, "30,2");
  Library().options.EnableTradDC = 0;
  EXPECT_EQ(Emit("event 1 record 12 3 amount:12").text, "CC000000000012");
}

TEST_F(EventSim, AMessageLongerThanTheHostKeepsIsCut) {
  const std::string line = "event 1 line \"" + std::string(300, 'x') + "\"";
  EXPECT_EQ(Emit(line).text, std::string(kSimHostMessageBytes, 'x'));
}

}  // namespace
}  // namespace quadrel
