#include "text/capture_field.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "event_fixture.h"
#include "text/bcd_text.h"

using namespace quadrel;
using quadrel_test::FromHex;
using quadrel_test::TextBytes;

namespace {

class BcdTextTest : public EventTest {
 protected:
  static std::string Decimal(std::string_view hex, int decimals) {
    std::string text = "[";
    BcdToDecimalText(text, FromHex(hex), decimals);
    return text;
  }
};

TEST_F(BcdTextTest, DecimalPointAndLeadingZeros) {
  EXPECT_EQ(Decimal("00001234", 2), "[12.34");
  EXPECT_EQ(Decimal("00001234", BCD_NO_POINT), "[1234");
  EXPECT_EQ(Decimal("000000", BCD_NO_POINT), "[0");
  EXPECT_EQ(Decimal("05", 3), "[0.005");  // a digit before the point even when the value has fewer
  EXPECT_EQ(Decimal("", 2), "[0.00");
  EXPECT_EQ(Decimal("12345678", 2), "[123456.78");
}

TEST_F(BcdTextTest, SignHalfBytes) {
  EXPECT_EQ(Decimal("D00005", 2), "[-0.05");
  EXPECT_EQ(Decimal("D0001234", BCD_NO_POINT), "[-1234");
  EXPECT_EQ(Decimal("B00012", BCD_NO_POINT), "[E12");
  EXPECT_EQ(Decimal("D00000", BCD_NO_POINT), "[-0");
}

TEST_F(BcdTextTest, RegisterDecimalsAndTheZeroCut) {
  EXPECT_EQ(Decimal("0000", BCD_REGISTER_DECIMALS), "[0");  // "0.00" is cut with the register's 2 decimals
  EXPECT_EQ(Decimal("0000", 2), "[0.00");                   // an explicit count keeps it
  EXPECT_EQ(Decimal("001234", BCD_REGISTER_DECIMALS), "[12.34");
  EcrRecord(1).Decimals = 0;
  EXPECT_EQ(Decimal("001234", BCD_REGISTER_DECIMALS), "[1234");
  EcrRecord(1).Decimals = 3;
  EXPECT_EQ(Decimal("0000", BCD_REGISTER_DECIMALS), "[0.000");
}

TEST_F(BcdTextTest, RawDigits) {
  EXPECT_EQ(Decimal("D00012", BCD_RAW_DIGITS), "[D00012");
  EXPECT_EQ(Decimal("01234567890123", BCD_RAW_DIGITS), "[1234567890123");  // 7 bytes: 13 digits
  EXPECT_EQ(Decimal("91234567890123", BCD_RAW_DIGITS), "[1234567890123");
}

TEST_F(BcdTextTest, NumbersStopAtTheFirstNonDigit) {
  EXPECT_DOUBLE_EQ(BcdToNumber(FromHex("0000500000")), 500000);
  EXPECT_DOUBLE_EQ(BcdToNumber(FromHex("D000000250")), -250);
  EXPECT_DOUBLE_EQ(BcdToNumber(FromHex("0012A4")), 12);
  EXPECT_DOUBLE_EQ(BcdToNumber({}), 0);
  EXPECT_DOUBLE_EQ(BcdToNumber(FromHex("D0")), 0);
}

TEST_F(BcdTextTest, ClockUsesTheSeparators) {
  const std::vector<std::uint8_t> clock = FromHex("3112242359");
  EXPECT_EQ(BcdClockText(std::span<const std::uint8_t, 5>(clock.data(), 5)), "31/12/24 23:59");
  Library().options.DateSeparator = '-';
  Library().options.TimeSeparator = '.';
  EXPECT_EQ(BcdClockText(std::span<const std::uint8_t, 5>(clock.data(), 5)), "31-12-24 23.59");
}

class CaptureFieldTest : public EventTest {
 protected:
  static std::string Edited(int options, std::string_view hex, int type, bool negative = false) {
    Library().options.OutEditOptions = options;
    std::string text = "[";
    EditCaptureField(text, FromHex(hex), negative, type);
    return text;
  }
};

TEST_F(CaptureFieldTest, SeparatorAndSignFollowTheOptions) {
  EXPECT_EQ(Edited(0, "0005", CAPTURE_SIGNED), "[,+0005");
  EXPECT_EQ(Edited(1, "0005", CAPTURE_SIGNED), "[+0005");
  EXPECT_EQ(Edited(2, "0005", CAPTURE_SIGNED), "[,5");
  EXPECT_EQ(Edited(3, "0005", CAPTURE_SIGNED_2), "[,+0005");
  EXPECT_EQ(Edited(0, "0005", CAPTURE_BCD), "[,0005");
  EXPECT_EQ(Edited(0, "0005", CAPTURE_BCD, true), "[,-0005");
  EXPECT_EQ(Edited(2, "0000", CAPTURE_BCD), "[,0");
  Library().options.SeparatorChar = '\0';
  EXPECT_EQ(Edited(0, "0005", CAPTURE_SIGNED), "[+0005");
}

TEST_F(CaptureFieldTest, MinusHalfByteInvertsTheSignOfBcdOnly) {
  EXPECT_EQ(Edited(0, "D005", CAPTURE_SIGNED), "[,-0005");
  EXPECT_EQ(Edited(0, "D005", CAPTURE_SIGNED, true), "[,+0005");
  EXPECT_EQ(Edited(2, "D005", CAPTURE_BCD), "[,-5");
  // In a byte, a word, a code or a text the same bits are part of the value.
  EXPECT_EQ(Edited(0, "D2", CAPTURE_BYTE), "[,210");
  EXPECT_EQ(Edited(0, "D204", CAPTURE_WORD), "[,01234");
  EXPECT_EQ(Edited(0, "D12345", CAPTURE_CODE), "[,D12345");
  EXPECT_EQ(Edited(0, "D1", CAPTURE_TEXT), "[,'\xD1'");
}

TEST_F(CaptureFieldTest, BytesAndWords) {
  EXPECT_EQ(Edited(0, "05", CAPTURE_BYTE), "[,05");
  EXPECT_EQ(Edited(2, "05", CAPTURE_BYTE), "[,5");
  EXPECT_EQ(Edited(2, "69", CAPTURE_BYTE), "[,105");  // an inner zero is no leading zero
  EXPECT_EQ(Edited(0, "69", CAPTURE_BYTE), "[,105");
  EXPECT_EQ(Edited(0, "0500", CAPTURE_WORD), "[,00005");
  EXPECT_EQ(Edited(2, "0500", CAPTURE_WORD), "[,5");
  EXPECT_EQ(Edited(0, "FFFF", CAPTURE_WORD), "[,65535");
}

TEST_F(CaptureFieldTest, Codes) {
  EXPECT_EQ(Edited(0, "00000012345F", CAPTURE_CODE), "[,00000012345F");
  EXPECT_EQ(Edited(2, "00000012345F", CAPTURE_CODE), "[,00000012345F");  // codes keep their zeros
  EXPECT_EQ(Edited(0, "01234567890123", CAPTURE_CODE), "[,1234567890123");
  EXPECT_EQ(Edited(0, "11234567890123", CAPTURE_CODE), "[,11234567890123");
}

TEST_F(CaptureFieldTest, TextsAreQuotedWithInnerQuotesDoubled) {
  Library().options.OutEditOptions = 1;
  std::string text;
  EditCaptureField(text, TextBytes("IT'S"), false, CAPTURE_TEXT);
  EXPECT_EQ(text, "'IT''S'");
  // A zero byte would end the host's C text: it is shown as a blank.
  text.clear();
  EditCaptureField(text, TextBytes(std::string_view("A\0B", 3)), false, CAPTURE_TEXT);
  EXPECT_EQ(text, "'A B'");
  Library().options.QuoteChar = '\0';
  text.clear();
  EditCaptureField(text, TextBytes("IT'S"), false, CAPTURE_TEXT);
  EXPECT_EQ(text, "IT'S");
}

TEST_F(CaptureFieldTest, EmptyDataWritesOnlySeparatorAndSign) {
  EXPECT_EQ(Edited(0, "", CAPTURE_TEXT), "[,");
  EXPECT_EQ(Edited(0, "", CAPTURE_SIGNED), "[,+");
  EXPECT_EQ(Edited(0, "", CAPTURE_WORD), "[,");
}

TEST_F(CaptureFieldTest, QuoteTextDoublesQuotes) {
  std::string text = "[";
  QuoteText(text, "O'HARA");
  EXPECT_EQ(text, "['O''HARA'");
  Library().options.QuoteChar = '"';
  text.clear();
  QuoteText(text, "SAY \"HI\"");
  EXPECT_EQ(text, "\"SAY \"\"HI\"\"\"");
}

}  // namespace
