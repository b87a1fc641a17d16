#include "events/ext_file_events.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "event_fixture.h"
#include "events/ext_file_reply.h"

using namespace quadrel;
using quadrel_test::Bytes;
using quadrel_test::FromHex;
using quadrel_test::TextBytes;

namespace {

Bytes Concat(std::initializer_list<Bytes> parts) {
  Bytes all;
  for (const Bytes& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

const Bytes kTextCode = Concat({{0xFF}, TextBytes("ARTICLE-CODE-0000001")});

class FileExtEventTest : public EventTest {};

TEST_F(FileExtEventTest, TextCodeWithoutAmounts) {
  const FileExtEnquiry enquiry = DecodeFileExtEnquiry(1, kTextCode);
  EXPECT_EQ(enquiry.status, EXT_CODE_TEXT);
  EXPECT_EQ(enquiry.code, "ARTICLE-CODE-0000001");
  EXPECT_DOUBLE_EQ(enquiry.quantity, 1.0);
}

TEST_F(FileExtEventTest, QuantityIsTheFirstAmountOverTheSecond) {
  EcrRecord(1).AmountBytes = 6;
  const FileExtEnquiry enquiry = DecodeFileExtEnquiry(1, FromHex("000000123456 000000500000 000000250000"));
  EXPECT_EQ(enquiry.status, EXT_CODE_BCD);
  EXPECT_EQ(enquiry.code, "000000123456");
  EXPECT_DOUBLE_EQ(enquiry.quantity, 2.0);
  // One amount: the quantity is that amount / 1000; a 0xD half-byte is minus.
  EXPECT_DOUBLE_EQ(DecodeFileExtEnquiry(1, FromHex("000000123456 D00000001500")).quantity, -1.5);
  EXPECT_DOUBLE_EQ(DecodeFileExtEnquiry(1, Concat({kTextCode, FromHex("000000003000")})).quantity, 3.0);
  // An amount cut short is not read.
  EXPECT_DOUBLE_EQ(DecodeFileExtEnquiry(1, FromHex("000000123456 0000005000")).quantity, 1.0);
}

TEST_F(FileExtEventTest, ZeroSecondAmountDoesNotDivide) {
  const FileExtEnquiry enquiry = DecodeFileExtEnquiry(1, FromHex("000000123456 0000500000 0000000000"));
  EXPECT_DOUBLE_EQ(enquiry.quantity, 500.0);
  // Nor does a register without amount widths.
  EcrRecord(1).AmountBytes = 0;
  EXPECT_DOUBLE_EQ(DecodeFileExtEnquiry(1, FromHex("000000123456 0000500000")).quantity, 1.0);
}

TEST_F(FileExtEventTest, StatusWithoutConfiguration) {
  EcrRecord(1).EcrNumber = 0;
  EXPECT_EQ(DecodeFileExtEnquiry(1, kTextCode).status, EXT_CODE_TEXT_UNCONFIGURED);
  EXPECT_EQ(DecodeFileExtEnquiry(1, FromHex("000000123456")).status, EXT_CODE_BCD_UNCONFIGURED);
  EXPECT_EQ(DecodeFileExtUpdate(1, kTextCode).status, EXT_CODE_TEXT_UNCONFIGURED);
  // Slot 0 serves a register without its own record, whatever its number.
  EcrRecord(0).EcrNumber = 4;
  for (const int ecr : {1, 0, -3, 25, 99})
    EXPECT_EQ(DecodeFileExtEnquiry(ecr, kTextCode).status, EXT_CODE_TEXT) << ecr;
  // Still decoded with the defaults when nothing is valid.
  EcrRecord(0).EcrNumber = 0;
  EXPECT_EQ(DecodeFileExtEnquiry(7, FromHex("000000123456")).code, "000000123456");
}

TEST_F(FileExtEventTest, TruncatedCodesAreEmpty) {
  const FileExtEnquiry text = DecodeFileExtEnquiry(1, Bytes(kTextCode.begin(), kTextCode.end() - 1));
  EXPECT_EQ(text.status, EXT_CODE_TEXT);
  EXPECT_EQ(text.code, "");
  EXPECT_DOUBLE_EQ(text.quantity, 1.0);
  EXPECT_EQ(DecodeFileExtEnquiry(1, FromHex("0000001234")).code, "");
  EXPECT_EQ(DecodeFileExtEnquiry(1, {}).code, "");
  EXPECT_EQ(DecodeFileExtUpdate(1, FromHex("FF41")).code, "");
}

TEST_F(FileExtEventTest, CodeIsCappedToItsTwentyCharacters) {
  EcrRecord(1).CodeBytes = 15;
  const FileExtEnquiry enquiry =
      DecodeFileExtEnquiry(1, FromHex("112233445566778899001122334455 0000003000"));
  EXPECT_EQ(enquiry.code, "11223344556677889900");
  EXPECT_DOUBLE_EQ(enquiry.quantity, 3.0);  // the amount is still read after the whole code
}

TEST_F(FileExtEventTest, UpdateValues) {
  FileExtUpdate update = DecodeFileExtUpdate(1, FromHex("000000123456 00012345 D000000042"));
  EXPECT_EQ(update.status, EXT_CODE_BCD);
  EXPECT_EQ(update.code, "000000123456");
  EXPECT_DOUBLE_EQ(update.value1, 12.345);
  EXPECT_DOUBLE_EQ(update.value2, -42);  // not scaled
  update = DecodeFileExtUpdate(1, Concat({kTextCode, FromHex("D0012345")}));
  EXPECT_EQ(update.status, EXT_CODE_TEXT);
  EXPECT_DOUBLE_EQ(update.value1, -12.345);
  EXPECT_DOUBLE_EQ(update.value2, 0);
  // Values cut short stay 0.
  update = DecodeFileExtUpdate(1, FromHex("000000123456 000123"));
  EXPECT_DOUBLE_EQ(update.value1, 0);
  update = DecodeFileExtUpdate(1, FromHex("000000123456 00012345 00000000"));
  EXPECT_DOUBLE_EQ(update.value1, 12.345);
  EXPECT_DOUBLE_EQ(update.value2, 0);
}

// ---- replies ----

class FileExtReplyTest : public EventTest {
 protected:
  void SetUp() override {
    EventTest::SetUp();
    EcrRecord(1).BcdBytesA = 4;
  }
  static Bytes Reply(unsigned kind, std::string_view answer, bool textCode = false) {
    return BuildFileExtReply(1, kind, textCode, answer);
  }
  static Bytes Found(std::string_view codeByte) {
    return Reply(EXT_REPLY_FOUND, "123456,COFFEE,7,X," + std::string(codeByte) + ",250");
  }
};

const Bytes kErrorFrame =
    Concat({TextBytes("M\x02"), TextBytes("FILE ERROR"), {0}, TextBytes("EXT. FILE ERROR"), {0}});
const Bytes kDescription = TextBytes("COFFEE              ");

TEST_F(FileExtReplyTest, NotFoundAndError) {
  EXPECT_EQ(Reply(EXT_REPLY_NOT_FOUND, ""), Bytes{'N'});
  EXPECT_EQ(Reply(5, "123456"), kErrorFrame);
  EXPECT_EQ(kErrorFrame.size(), 29u);
  // The texts are the message table's, as a definitions file may set them.
  ASSERT_TRUE(IntMsgTable().SetRow(kMsgExtFileError, "NO FILE"));
  EXPECT_EQ(Reply(4, ""),
            Concat({TextBytes("M\x02"), TextBytes("FILE ERROR"), {0}, TextBytes("NO FILE"), {0}}));
}

TEST_F(FileExtReplyTest, FoundWithPackedCode) {
  for (const unsigned kind : {EXT_REPLY_FOUND, EXT_REPLY_FOUND_OTHER}) {
    EXPECT_EQ(Reply(kind, "123456,COFFEE,7,X,12,250"),
              Concat({{'F', 0x00, 0x00, 0x00, 0x12, 0x34, 0x56, 0x07, 0x00, 0x12, 0x00, 0x00, 0x02, 0x50},
                      kDescription}))
        << kind;
  }
  EXPECT_EQ(Found("").size(), 1u + 6 + 2 + 1 + 4 + 20);
}

TEST_F(FileExtReplyTest, FoundWithTextCode) {
  EXPECT_EQ(
      Reply(EXT_REPLY_FOUND, "ABC,COFFEE,258,,1,", true),
      Concat({{'F', 0xFF}, TextBytes("ABC                 "), {0x02, 0x01, 0x01, 0, 0, 0, 0}, kDescription}));
  EXPECT_EQ(Reply(EXT_REPLY_FOUND, "ABCDEFGHIJKLMNOPQRST,X", true).size(), 1u + 21 + 2 + 1 + 4 + 20);
  EXPECT_EQ(Reply(EXT_REPLY_FOUND, "ABCDEFGHIJKLMNOPQRSTU,X", true), kErrorFrame);
}

TEST_F(FileExtReplyTest, CodeReplyAlwaysPacksTheCode) {
  EXPECT_EQ(Reply(EXT_REPLY_BCD_CODE, "99,COFFEE,-1,,2,1", true),
            Concat({{'C', 0, 0, 0, 0, 0, 0x99, 0xFF, 0xFF, 0x02, 0, 0, 0, 0x01}, kDescription}));
}

TEST_F(FileExtReplyTest, CodeByteOfF5) {
  EXPECT_EQ(Found("2")[9], 0x02);
  EXPECT_EQ(Found("12")[9], 0x12);
  EXPECT_EQ(Found("12I3")[9], 0x12);
  EXPECT_EQ(Found("1I4")[9], 0x01);
  EXPECT_EQ(Found("")[9], 0x00);
  for (const char* bad : {"123", "I3", "12I5", "12I", "12I34", "1G", "12X3"})
    EXPECT_EQ(Found(bad), kErrorFrame) << bad;
  EXPECT_EQ(Reply(EXT_REPLY_BCD_CODE, "1,D,0,,12I3,0"), kErrorFrame);
}

TEST_F(FileExtReplyTest, FieldsThatDoNotFitGiveTheErrorFrame) {
  EXPECT_EQ(Reply(EXT_REPLY_FOUND, "1234567890123,D,0,,0,0"), kErrorFrame);  // 13 digits in 6 bytes
  EXPECT_EQ(Reply(EXT_REPLY_FOUND, "12AB,D,0,,0,0")[6], 0xAB);               // codes are hex
  EXPECT_EQ(Reply(EXT_REPLY_FOUND, "12-4,D,0,,0,0"), kErrorFrame);
  EXPECT_EQ(Reply(EXT_REPLY_FOUND, "1,D,0,,0,123456789"), kErrorFrame);  // 9 digits in 4 bytes
  EXPECT_EQ(Reply(EXT_REPLY_FOUND, "1,D,0,,0,12.50"), kErrorFrame);
  EXPECT_EQ(Reply(EXT_REPLY_FOUND, "1,D,65536,,0,0"), kErrorFrame);
  EXPECT_EQ(Reply(EXT_REPLY_FOUND, "1,D,-32769,,0,0"), kErrorFrame);
  EXPECT_EQ(Reply(EXT_REPLY_FOUND, "1,D,7X,,0,0"), kErrorFrame);
  EXPECT_EQ(Reply(EXT_REPLY_FOUND, "1,'D,0,,0,0"), kErrorFrame);  // unclosed quote
  // A register whose widths would not fit the host's buffer.
  EcrRecord(1).BcdBytesA = 2000;
  EXPECT_EQ(Reply(EXT_REPLY_FOUND, "1,D,0,,0,0"), kErrorFrame);
}

TEST_F(FileExtReplyTest, DescriptionIsQuotableAndCutToTwenty) {
  const Bytes quoted = Reply(EXT_REPLY_FOUND, "1,'TEA, GREEN',0,,0,0");
  EXPECT_EQ(Bytes(quoted.end() - 20, quoted.end()), TextBytes("TEA, GREEN          "));
  const Bytes cut = Reply(EXT_REPLY_FOUND, "1,ABCDEFGHIJKLMNOPQRSTUVWXYZ,0,,0,0");
  EXPECT_EQ(Bytes(cut.end() - 20, cut.end()), TextBytes("ABCDEFGHIJKLMNOPQRST"));
  EXPECT_EQ(cut.size(), 1u + 6 + 2 + 1 + 4 + 20);
}

TEST_F(FileExtReplyTest, NoConfigurationGivesTheErrorFrame) {
  EcrRecord(1).EcrNumber = 0;
  EXPECT_EQ(Reply(EXT_REPLY_NOT_FOUND, ""), kErrorFrame);
  EXPECT_EQ(BuildFileExtReply(30, EXT_REPLY_NOT_FOUND, false, ""), kErrorFrame);
  EcrRecord(0).EcrNumber = 2;
  EXPECT_EQ(BuildFileExtReply(30, EXT_REPLY_NOT_FOUND, false, ""), Bytes{'N'});
}

}  // namespace
