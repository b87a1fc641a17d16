#include "events/data_capture_records.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "event_fixture.h"

using namespace quadrel;
using quadrel_test::FromHex;
using quadrel_test::TextBytes;

namespace {

class DataCaptureRecordTest : public EventTest {
 protected:
  static std::string Format(const std::vector<std::uint8_t>& record, int options, int mode, int ecr = 1) {
    Library().options.OutEditOptions = options;
    std::string text;
    FormatDataCaptureRecord(ecr, text, record, mode);
    return text;
  }
  static std::string Fields(std::string_view hex, int options = 0) {
    return Format(FromHex(hex), options, CAPTURE_MODE_FIELDS);
  }
};

struct KindCase {
  const char* record;
  const char* name;
  const char* fields;   // options 0 (and 3), mode 1
  const char* plain;    // options 1
  const char* compact;  // options 2
  const char* flagged;  // options 0, mode 2
};

// 5-byte amounts, 6-byte codes, no feature 77.
const KindCase kKinds[] = {
    {"82 05 0000001000 0000002000", "kind 02", "02,05,-0000001000,-0000002000", "0205-0000001000-0000002000",
     "02,5,-1000,-2000", "02,1,05,-0000001000,-0000002000"},
    {"03 000000123456 02 0000001500 0000003000 3412 00 0000000050 000100", "kind 03",
     "03,000000123456,02,+0000001500,+0000003000,04660,-0000000050,+000100",
     "0300000012345602+0000001500+000000300004660-0000000050+000100",
     "03,000000123456,2,1500,3000,4660,-50,100",
     "03,0,000000123456,02,+0000001500,+0000003000,04660,-0000000050,+000100"},
    {"04 0012 0000012345 3112242359 000007 0000000500 000042 434C4F53555245205445585420202020", "kind 04",
     "04,'31/12/24 23:59',0012,+0000012345,+0000000500,000042,'CLOSURE TEXT    '",
     "04'31/12/24 23:59'0012+0000012345+0000000500000042'CLOSURE TEXT    '",
     "04,'31/12/24 23:59',12,12345,500,42,'CLOSURE TEXT    '",
     "04,'31/12/24 23:59',0012,+0000012345,+0000000500,000042,'CLOSURE TEXT    '"},
    {"05 0000012345", "kind 05", "05,0000012345", "050000012345", "05,12345", "05,0000012345"},
    {"06 07", "kind 06", "06,07", "0607", "06,7", "06,07"},
    {"07 01 0000000100 02 D000000200", "kind 07", "07,01,+0000000100,02,-0000000200",
     "0701+000000010002-0000000200", "07,1,100,2,-200", "07,01,+0000000100,02,-0000000200"},
    {"08 D2", "kind 08", "08,210", "08210", "08,210", "08,210"},
    {"49 0003 0000000250 000000654321", "kind 09", "09,0003,-0000000250,000000654321",
     "090003-0000000250000000654321", "09,3,-250,000000654321", "09,2,0003,-0000000250,000000654321"},
    {"0A 0004 0000000300", "kind 10", "10,0004,+0000000300", "100004+0000000300", "10,4,300",
     "10,0,0004,+0000000300"},
    {"0B 0000001000 000000000777 0500", "kind 11", "11,+0000001000,000000000777,00005",
     "11+000000100000000000077700005", "11,1000,000000000777,5", "11,0,+0000001000,000000000777,00005"},
    {"8C 0000000010", "kind 12", "12,-0000000010", "12-0000000010", "12,-10", "12,1,-0000000010"},
    {"0D 0001 02 0003 0102250930 00123456789012", "kind 13", "13,'01/02/25 09:30',0003,02,0001,0123456789012",
     "13'01/02/25 09:30'00030200010123456789012", "13,'01/02/25 09:30',3,2,1,0123456789012",
     "13,'01/02/25 09:30',0003,02,0001,0123456789012"},
    {"0E 0005 0000000020", "kind 14", "14,0005,+0000000020", "140005+0000000020", "14,5,20",
     "14,0005,+0000000020"},
    {"0F 03 000123 45 67 000000 0102250930 12345678901234", "kind 15",
     "15,'01/02/25 09:30',03,000123,45,4567,12345678901234", "15'01/02/25 09:30'0300012345456712345678901234",
     "15,'01/02/25 09:30',3,123,45,4567,12345678901234",
     "15,'01/02/25 09:30',03,000123,45,4567,12345678901234"},
    {"10", "kind 16", "16", "16", "16", "16"},
    {"11 0000012345 01 02 000000000000000000000000000000 0099 0000001234 000022", "kind 17",
     "17,0000012345,01,02,0099,+0000001234,+000022", "17000001234501020099+0000001234+000022",
     "17,12345,1,2,99,1234,22", "17,0000012345,01,02,0099,+0000001234,+000022"},
    {"12 0000012345 01 02 000000000000000000000000000000 0099 0000001234 000022 01 0000000500 000010 "
     "0102250930",
     "kind 18", "18,0000012345,01,02,0099,+0000001234,+000022,01,-0000000500,+000010,'01/02/25 09:30'",
     "18000001234501020099+0000001234+00002201-0000000500+000010'01/02/25 09:30'",
     "18,12345,1,2,99,1234,22,1,-500,10,'01/02/25 09:30'",
     "18,0000012345,01,02,0099,+0000001234,+000022,01,-0000000500,+000010,'01/02/25 09:30'"},
    {"13 00", "kind 19", "19,00", "1900", "19,0", "19,00"},
    {"15 0000001000", "kind 21", "21,+0000001000", "21+0000001000", "21,1000", "21,0,+0000001000"},
    {"16 0000000010", "kind 22", "22,+0000000010", "22+0000000010", "22,10", "22,0,+0000000010"},
    {"19 0001 02 000003 0000000400 0005", "kind 25", "25,0001,02,000003,+0000000400,0005",
     "25000102000003+00000004000005", "25,1,2,3,400,5", "25,0,0001,02,000003,+0000000400,0005"},
    {"1A 0001 02 0003 0102250930 0044 00123456789012", "kind 26",
     "26,'01/02/25 09:30',0003,0044,02,0001,0123456789012", "26'01/02/25 09:30'000300440200010123456789012",
     "26,'01/02/25 09:30',3,44,2,1,0123456789012", "26,'01/02/25 09:30',0003,0044,02,0001,0123456789012"},
    {"1B 0001 0002 0000012345 3112242359 000007 0000000500 504552494F4420544558542020202020", "kind 27",
     "27,'31/12/24 23:59',0001,0002,+0000012345,+0000000500,'PERIOD TEXT     '",
     "27'31/12/24 23:59'00010002+0000012345+0000000500'PERIOD TEXT     '",
     "27,'31/12/24 23:59',1,2,12345,500,'PERIOD TEXT     '",
     "27,'31/12/24 23:59',0001,0002,+0000012345,+0000000500,'PERIOD TEXT     '"},
    {"5E", "kind 30", "30", "30", "30", "30,2"},
    {"00", "kind 00", "00", "00", "00", "00"},
    {"3F", "kind 63", "63", "63", "63", "63"},
};

TEST_F(DataCaptureRecordTest, EveryKindUnderEveryOptionAndBothFormats) {
  for (const KindCase& c : kKinds) {
    const std::vector<std::uint8_t> record = FromHex(c.record);
    EXPECT_EQ(Format(record, 0, CAPTURE_MODE_FIELDS), c.fields) << c.name;
    EXPECT_EQ(Format(record, 3, CAPTURE_MODE_FIELDS), c.fields) << c.name;
    EXPECT_EQ(Format(record, 1, CAPTURE_MODE_FIELDS), c.plain) << c.name;
    EXPECT_EQ(Format(record, 2, CAPTURE_MODE_FIELDS), c.compact) << c.name;
    EXPECT_EQ(Format(record, 0, CAPTURE_MODE_FLAGGED), c.flagged) << c.name;
  }
}

TEST_F(DataCaptureRecordTest, HexModeIsTheWholeRecord) {
  EXPECT_EQ(Format(FromHex("82 05 0000001000 0000002000"), 2, CAPTURE_MODE_HEX), "820500000010000000002000");
  EXPECT_EQ(Format({}, 0, CAPTURE_MODE_HEX), "");
  EXPECT_EQ(Format({}, 0, CAPTURE_MODE_FIELDS), "");
}

TEST_F(DataCaptureRecordTest, FlagDigitAndSignFlagFollowTheTopBits) {
  EXPECT_EQ(Format(FromHex("1E"), 0, CAPTURE_MODE_FLAGGED), "30,0");
  EXPECT_EQ(Format(FromHex("9E"), 0, CAPTURE_MODE_FLAGGED), "30,1");
  EXPECT_EQ(Format(FromHex("DE"), 0, CAPTURE_MODE_FLAGGED), "30,3");
  // Both bits set: the sign flag is their XOR, so the amount is positive.
  EXPECT_EQ(Format(FromHex("CC 0000000010"), 0, CAPTURE_MODE_FLAGGED), "12,3,+0000000010");
  EXPECT_EQ(Format(FromHex("4C 0000000010"), 0, CAPTURE_MODE_FLAGGED), "12,2,-0000000010");
  // A 0xD first half-byte inverts the flag's sign.
  EXPECT_EQ(Fields("8C D000000010"), "12,+0000000010");
}

TEST_F(DataCaptureRecordTest, Feature77AddsTheCounterOfKinds4And27) {
  EcrRecord(1).FeatureLevels[77] = 1;
  EXPECT_EQ(Fields(kKinds[2].record),
            "04,'31/12/24 23:59',0012,+0000012345,000007,+0000000500,000042,'CLOSURE TEXT    '");
  EXPECT_EQ(Fields(kKinds[22].record),
            "27,'31/12/24 23:59',0001,0002,+0000012345,000007,+0000000500,'PERIOD TEXT     '");
  // The counter is part of the record then: a record that stops before it is cut short.
  EXPECT_EQ(Fields("04 0012 0000012345 3112242359 0000"), "");
}

TEST_F(DataCaptureRecordTest, OptionalTailsNeedTheirWholeWidth) {
  // Kind 4: the second amount, the 3-byte field and the text each only when all there.
  EXPECT_EQ(Fields("04 0012 0000012345 3112242359 000007"), "04,'31/12/24 23:59',0012,+0000012345");
  EXPECT_EQ(Fields("04 0012 0000012345 3112242359 000007 0000000500 0000"),
            "04,'31/12/24 23:59',0012,+0000012345,+0000000500");
  // A text that begins with a blank is left out.
  EXPECT_EQ(
      Fields("04 0012 0000012345 3112242359 000007 0000000500 000042 20434C4F53555245205445585420202020"),
      "04,'31/12/24 23:59',0012,+0000012345,+0000000500,000042");
  // Kind 5 longer than two amounts shows half the record.
  EXPECT_EQ(Fields("05 1122334455 667788990011"), "05,112233445566");
  // Kind 7: a group needs a whole amount; a record under one group has none.
  EXPECT_EQ(Fields("07 01 0000000100 02 00"), "07,01,+0000000100");
  EXPECT_EQ(Fields("07 01 00000001"), "07");
  // Kinds 9 and 11: the code only when the record carries one.
  EXPECT_EQ(Fields("09 0003 0000000250 0000006543"), "09,0003,+0000000250");
  EXPECT_EQ(Fields("0B 0000001000"), "11,+0000001000");
  EXPECT_EQ(Fields("0B 0000001000 000000000777 05"), "11,+0000001000,000000000777");
  // Kind 18 without its clock.
  EXPECT_EQ(
      Fields(
          "12 0000012345 01 02 000000000000000000000000000000 0099 0000001234 000022 01 0000000500 000010"),
      "18,0000012345,01,02,0099,+0000001234,+000022,01,-0000000500,+000010");
}

TEST_F(DataCaptureRecordTest, GuardsStopAtTheRecordEnd) {
  // Kind 3 with the word and flag byte but one byte short of the third amount.
  EXPECT_EQ(Fields("03 000000123456 02 0000001500 0000003000 3412 00 00000000"),
            "03,000000123456,02,+0000001500,+0000003000");
  // The 7-byte codes of kinds 13, 15 and 26 need all seven bytes.
  EXPECT_EQ(Fields("0D 0001 02 0003 0102250930 001234567890"), "13,'01/02/25 09:30',0003,02,0001");
  EXPECT_EQ(Fields("0F 03 000123 45 67 000000 0102250930 123456789012"),
            "15,'01/02/25 09:30',03,000123,45,4567");
  EXPECT_EQ(Fields("1A 0001 02 0003 0102250930 0044 001234567890"), "26,'01/02/25 09:30',0003,0044,02,0001");
  // A text code cut short is a truncated record.
  EXPECT_EQ(Fields("09 0003 0000000250 FF 41424344454647"), "");
  // Mandatory fields missing: nothing at all rather than a partial line.
  EXPECT_EQ(Fields("82 05 0000001000 00000020"), "");
  EXPECT_EQ(Fields("11 0000012345 01 02"), "");
  EXPECT_EQ(Fields("06"), "");
}

TEST_F(DataCaptureRecordTest, EveryPrefixOfEveryKindStaysInsideTheRecord) {
  EcrRecord(1).FeatureLevels[77] = 1;
  for (const KindCase& c : kKinds) {
    const std::vector<std::uint8_t> record = FromHex(c.record);
    for (std::size_t length = 0; length <= record.size(); ++length) {
      // An exact-size copy, so the sanitizer sees any read past its end.
      const std::vector<std::uint8_t> prefix(record.begin(),
                                             record.begin() + static_cast<std::ptrdiff_t>(length));
      const std::string text = Format(prefix, 0, CAPTURE_MODE_FLAGGED);
      if (length > 0 && !text.empty()) {
        EXPECT_EQ(text.substr(0, 2), std::string(c.name + 5, 2)) << c.name;
      }
    }
  }
}

TEST_F(DataCaptureRecordTest, TextCodesAndQuotes) {
  std::vector<std::uint8_t> record = FromHex("03 FF");
  const std::vector<std::uint8_t> code = TextBytes("IT'S A CODE         ");
  ASSERT_EQ(code.size(), 20u);
  record.insert(record.end(), code.begin(), code.end());
  const std::vector<std::uint8_t> rest = FromHex("01 0000000100 0000000200");
  record.insert(record.end(), rest.begin(), rest.end());
  EXPECT_EQ(Format(record, 0, CAPTURE_MODE_FIELDS), "03,'IT''S A CODE         ',01,+0000000100,+0000000200");
  Library().options.QuoteChar = '"';
  EXPECT_EQ(Format(record, 0, CAPTURE_MODE_FIELDS), "03,\"IT'S A CODE         \",01,+0000000100,+0000000200");
}

TEST_F(DataCaptureRecordTest, WidthsComeFromTheEventRegister) {
  EcrRecord(2).EcrNumber = 2;
  EcrRecord(2).AmountBytes = 3;
  EcrRecord(2).CodeBytes = 4;
  EXPECT_EQ(Format(FromHex("09 0003 000250 00654321"), 0, CAPTURE_MODE_FIELDS, 2),
            "09,0003,+000250,00654321");
  // An invalid record, or a number outside 1..24, reads slot 0 (the defaults here).
  EcrRecord(3).AmountBytes = 3;
  for (const int ecr : {3, 0, -7, 25, 1000}) {
    EXPECT_EQ(Format(FromHex("0C 0000000010"), 0, CAPTURE_MODE_FIELDS, ecr), "12,+0000000010") << ecr;
  }
}

}  // namespace
