// GetEcrConfVal and GetEcrConfStr against a scripted host: the items, the
// register named in the identifier and what CurrentEcr is afterwards, and the
// texts built from register answers whatever their length.
#include "exports/ecr_conf_exports.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "config/ecr_conf_texts.h"
#include "translator_fixture.h"

namespace quadrel {
namespace {

using quadrel_test::Bytes;
using quadrel_test::bytes;

constexpr int kNoValue = -1;

class EcrConfExportsTest : public TranslatorTest {
 protected:
  void SetUp() override {
    TranslatorTest::SetUp();
    host.info().versionMajor = 2;
    host.info().versionMinor = 15;
    host.info().versionBuild = 7;
    MarkRead(1);
  }

  // A record that counts as read: no frame is needed for it.
  static EcrConfigRecord& MarkRead(int ecr) {
    EcrConfigRecord& r = EcrRecord(ecr);
    r.EcrNumber = ecr;
    return r;
  }

  // A line of three registers with 1 and 3 present.
  void MultiRegisterLine() {
    Library().TradFlags |= TRADF_MULTI_ECR;
    host.info().protocolType = quadrel_test::kProtocolMultiEcr;
    host.info().registerCount = 3;
    host.set_present(3, true);
    MarkRead(3);
  }

  static std::string Str(int ecr, int item) {
    const char* text = GetEcrConfStr(ConfId(ecr, item));
    return text ? text : "<null>";
  }
};

// --- GetEcrConfVal ---------------------------------------------------------

TEST_F(EcrConfExportsTest, VersionsNeedNoRegister) {
  EcrRecord(1).EcrNumber = 0;  // a read would need frames
  EXPECT_EQ(GetEcrConfVal(0), 3000003);
  EXPECT_EQ(GetEcrConfVal(ConfId(1, 0)), 3000003);
  EXPECT_EQ(GetEcrConfVal(1), 2015007);
  for (int item = 2; item <= 9; ++item) EXPECT_EQ(GetEcrConfVal(item), kNoValue) << item;
  EXPECT_TRUE(host.frames().empty());
  EXPECT_TRUE(host.status_calls().empty());
}

TEST_F(EcrConfExportsTest, EveryRecordItemPublishesItsField) {
  struct Item {
    int item;
    int EcrConfigRecord::*field;
  };
  const Item items[] = {
      {10, &EcrConfigRecord::EcrNumber},       {11, &EcrConfigRecord::CodeBytes},
      {12, &EcrConfigRecord::PrintWidth},      {13, &EcrConfigRecord::Block4Byte36},
      {14, &EcrConfigRecord::AmountBytes},     {15, &EcrConfigRecord::IdentityByte47},
      {16, &EcrConfigRecord::Block4Byte43},    {17, &EcrConfigRecord::IdentityWord49},
      {18, &EcrConfigRecord::LineParam},       {19, &EcrConfigRecord::Block4Width42},
      {101, &EcrConfigRecord::FileInfo8},      {102, &EcrConfigRecord::FileInfo10},
      {103, &EcrConfigRecord::FileInfo12},     {104, &EcrConfigRecord::FileFlags},
      {105, &EcrConfigRecord::FileInfoB16},    {106, &EcrConfigRecord::FileInfoB17},
      {107, &EcrConfigRecord::FileInfoB18},    {108, &EcrConfigRecord::FileInfoB19},
      {109, &EcrConfigRecord::FileInfoB20},    {110, &EcrConfigRecord::FileInfo33},
      {111, &EcrConfigRecord::FileInfo42},     {112, &EcrConfigRecord::FileInfo45},
      {113, &EcrConfigRecord::FileInfoB47},    {114, &EcrConfigRecord::FileInfo56},
      {115, &EcrConfigRecord::FileInfo58},     {116, &EcrConfigRecord::FileInfo69},
      {117, &EcrConfigRecord::FileInfoB79},    {118, &EcrConfigRecord::FileInfoB78},
      {119, &EcrConfigRecord::FileInfoB80},    {200, &EcrConfigRecord::OutputSettingB},
      {201, &EcrConfigRecord::OutputSettingC}, {202, &EcrConfigRecord::RecordCount},
      {203, &EcrConfigRecord::OutputWidth},    {204, &EcrConfigRecord::HasFeature115},
  };
  EcrConfigRecord& r = EcrRecord(1);
  for (const Item& i : items) {
    if (i.item != 10) r.*i.field = 1000 + i.item;
  }
  r.FileAddress[9] = 0x4321;
  for (const Item& i : items) {
    EXPECT_EQ(GetEcrConfVal(i.item), i.item == 10 ? 1 : 1000 + i.item) << "item " << i.item;
  }
  EXPECT_EQ(GetEcrConfVal(20), 0x4321);
  for (int item : {5, 21, 100, 120, 199, 205, 0xFFFF}) EXPECT_EQ(GetEcrConfVal(item), kNoValue) << item;
  EXPECT_TRUE(host.frames().empty());  // register 0: the cached record, file information included
}

TEST_F(EcrConfExportsTest, RecordItemsOfAnUnreadRecordFailWhenTheReadFails) {
  EcrRecord(1).EcrNumber = 0;
  host.expect("T").answer(2);
  EXPECT_EQ(GetEcrConfVal(12), kNoValue);
  EXPECT_EQ(CurrentEcr(), 1);
}

TEST_F(EcrConfExportsTest, SingleRegisterHostAllowsOnlyRegisterOne) {
  EcrRecord(1).PrintWidth = 42;
  MarkRead(2).PrintWidth = 30;
  host.info().registerCount = 2;
  host.set_present(2, true);
  EXPECT_EQ(GetEcrConfVal(ConfId(1, 12)), 42);
  EXPECT_EQ(GetEcrConfVal(ConfId(2, 12)), kNoValue);
  EXPECT_EQ(GetEcrConfStr(ConfId(2, 1)), nullptr);
  EXPECT_TRUE(host.frames().empty());
}

TEST_F(EcrConfExportsTest, MultiRegisterLineChecksCountAndPresence) {
  MultiRegisterLine();
  EcrRecord(3).PrintWidth = 40;
  MarkRead(2);
  MarkRead(4);
  EXPECT_EQ(GetEcrConfVal(ConfId(3, 12)), 40);
  EXPECT_EQ(GetEcrConfVal(ConfId(2, 12)), kNoValue);  // served but absent
  EXPECT_EQ(GetEcrConfVal(ConfId(4, 12)), kNoValue);  // above the host's count
  EXPECT_EQ(GetEcrConfVal(ConfId(25, 12)), kNoValue);
  host.info().registerCount = 30;
  EXPECT_EQ(GetEcrConfVal(ConfId(25, 12)), kNoValue);  // never past the 24 records
  EXPECT_EQ(GetEcrConfVal(ConfId(0xFFFF, 12)), kNoValue);
}

TEST_F(EcrConfExportsTest, ExplicitRegisterIsServedAndCurrentEcrReturnsToTheSelectedOne) {
  MultiRegisterLine();
  SelectedEcr() = 1;
  CurrentEcr() = 3;  // left elsewhere by a transfer, say: the export puts back the selection
  EcrRecord(3).EcrNumber = 0;
  host.expect("T").to(3).answer(2);  // the read of register 3 fails
  EXPECT_EQ(GetEcrConfVal(ConfId(3, 14)), kNoValue);
  EXPECT_EQ(CurrentEcr(), 1);

  CurrentEcr() = 2;
  EXPECT_EQ(GetEcrConfStr(ConfId(2, 1)), nullptr);  // refused before any switch
  EXPECT_EQ(CurrentEcr(), 2);

  MarkRead(3);
  EXPECT_NE(GetEcrConfStr(ConfId(3, 1)), nullptr);
  EXPECT_EQ(CurrentEcr(), 1);
}

Bytes FileInfoAnswer(int status, int flagsByte15) {
  Bytes answer(86, 0);
  answer[0] = 'U';
  answer[1] = static_cast<std::uint8_t>(status);
  answer[8] = 0x34;
  answer[9] = 0x12;
  answer[15] = static_cast<std::uint8_t>(flagsByte15);
  return answer;
}

TEST_F(EcrConfExportsTest, FileInformationOfANamedRegisterIsReadAgain) {
  MultiRegisterLine();
  EcrRecord(3).FileInfo8 = 1;
  host.expect(bytes({'U', 0, 1})).to(3).answer(0, FileInfoAnswer(0, 0x5A));
  EXPECT_EQ(GetEcrConfVal(ConfId(3, 101)), 0x1234);
  host.expect(bytes({'U', 0, 1})).to(3).answer(0, FileInfoAnswer(0, 0x21));
  EXPECT_EQ(GetEcrConfVal(ConfId(3, 104)), 0x21);
  // The register refuses the download: no value, and the register is put back.
  host.expect(bytes({'U', 0, 1})).to(3).answer(0, FileInfoAnswer(1, 0));
  EXPECT_EQ(GetEcrConfVal(ConfId(3, 104)), kNoValue);
  EXPECT_EQ(CurrentEcr(), 1);
  // Other items of a named register need no file information.
  EXPECT_EQ(GetEcrConfVal(ConfId(3, 12)), EcrRecord(3).PrintWidth);
  EXPECT_EQ(host.pending(), 0);
}

TEST_F(EcrConfExportsTest, WithoutHostInfoNamedRegistersAndHostItemsAreUnavailable) {
  Library().host.info = nullptr;
  EXPECT_EQ(GetEcrConfVal(1), kNoValue);
  EXPECT_EQ(GetEcrConfVal(ConfId(1, 12)), kNoValue);
  EXPECT_EQ(GetEcrConfStr(0), nullptr);
  EXPECT_EQ(GetEcrConfStr(6), nullptr);
  EXPECT_EQ(GetEcrConfStr(ConfId(1, 2)), nullptr);
  EXPECT_EQ(GetEcrConfVal(12), EcrRecord(1).PrintWidth);  // the current register still answers
  EXPECT_EQ(CurrentEcr(), 1);
}

// --- GetEcrConfStr: host status and identity ------------------------------

TEST_F(EcrConfExportsTest, HostStatusTextOfAMultiRegisterLine) {
  MultiRegisterLine();
  host.info().registerCount = 12;
  host.info().hostSwitches = 0x02;
  host.info().presenceFlags[2] = 2;
  host.info().presenceFlags[24] = 7;
  SelectedEcr() = 3;
  EcrRecord(1).EcrNumber = 0;  // the status text reads nothing
  const char* text = GetEcrConfStr(0);
  ASSERT_NE(text, nullptr);
  const std::string expected =
      "1"
      "12"
      "03"
      "01"
      "   "
      "121" +
      std::string(20, '0') + "3";
  EXPECT_EQ(std::string(text), expected + std::string(80 - expected.size(), ' '));
  EXPECT_EQ(std::strlen(text), 80u);
  EXPECT_TRUE(host.frames().empty());
}

TEST_F(EcrConfExportsTest, HostStatusTextOfASingleRegisterHost) {
  host.info().hostSwitches = 0x01;
  host.info().presenceFlags[2] = 3;  // not shown: one register only
  const std::string text = Str(0, 0);
  EXPECT_EQ(text.substr(0, 11), "3010110   1");
  EXPECT_EQ(text.find_first_not_of(' ', 11), std::string::npos);
  EXPECT_EQ(text.size(), 80u);
  EXPECT_EQ(Str(1, 0), "<null>");
}

TEST_F(EcrConfExportsTest, IdentityTextsComeFromTheRecordBounded) {
  EcrConfigRecord& r = EcrRecord(1);
  std::strcpy(r.EcrId, "ID12345678");
  std::memset(r.ModelCode, 'M', sizeof r.ModelCode);  // no terminator
  std::strcpy(r.FirmwareName, "3.9  KUV");
  EXPECT_EQ(Str(0, 1), "ID12345678");
  EXPECT_EQ(Str(0, 2), std::string(sizeof r.ModelCode, 'M'));
  EXPECT_EQ(Str(0, 3), "3.9  KUV");
  EXPECT_EQ(Str(0, 8), "<null>");
  EXPECT_TRUE(host.frames().empty());
}

TEST_F(EcrConfExportsTest, TextsFailWhenTheConfigurationCannotBeRead) {
  EcrRecord(1).EcrNumber = 0;
  host.expect("T").answer(2);
  EXPECT_EQ(GetEcrConfStr(1), nullptr);
}

// --- 'U' 0 23 -------------------------------------------------------------

Bytes CountersAnswer(int amountBytes, bool extended) {
  Bytes a(11 + (extended ? 8 : 6) * amountBytes + (extended ? 1 : 0), 0);
  a[0] = 'U';
  a[4] = 0x03;  // bit 0 shown
  a[5] = 200;
  a[6] = 3;
  a[7] = 0x34;
  a[8] = 0x12;
  a[9] = 0x00;
  a[10] = 0x42;
  for (int i = 0; i < (extended ? 8 : 6); ++i) a[11 + i * amountBytes + amountBytes - 1] = 0x10 + i;
  a[11] = 0xD0;  // first amount negative
  if (extended) a.back() = 0xFD;
  return a;
}

TEST_F(EcrConfExportsTest, CountersText) {
  host.expect(bytes({'U', 0, 23})).answer(0, CountersAnswer(5, false));
  EXPECT_EQ(Str(0, 4), "3,1,200,0042,-000000010,0000000011,0000000012,0000000013,0000000014,0000000015,4660");
  host.expect(bytes({'U', 0, 23})).answer(0, CountersAnswer(5, true));
  EXPECT_EQ(Str(0, 4),
            "3,1,200,0042,-000000010,0000000011,0000000012,0000000013,0000000014,0000000015,4660,"
            "0000000016,0000000017,-3");
}

TEST_F(EcrConfExportsTest, CountersTextWithoutSeparatorsAndWithCompactNumbers) {
  Library().options.OutEditOptions = 1;
  EcrRecord(1).AmountBytes = 2;
  host.expect(bytes({'U', 0, 23})).answer(0, CountersAnswer(2, false));
  EXPECT_EQ(Str(0, 4), "312000042-010001100120013001400154660");  // "31": no separator between the two digits
  Library().options.OutEditOptions = 2;
  Library().options.SeparatorChar = ';';
  host.expect(bytes({'U', 0, 23})).answer(0, CountersAnswer(2, false));
  EXPECT_EQ(Str(0, 4), "3;1;200;42;-10;11;12;13;14;15;4660");
}

TEST_F(EcrConfExportsTest, CountersTextIsBoundedWhateverTheAmountWidth) {
  EcrRecord(1).AmountBytes = 60;  // six fields of 120 digits
  host.expect(bytes({'U', 0, 23})).answer(0, CountersAnswer(60, false));
  const std::string text = Str(0, 4);
  EXPECT_EQ(text.size(), kInfoCountersTextChars);
  EXPECT_EQ(text.substr(0, 13), "3,1,200,0042,");

  EcrRecord(1).AmountBytes = 200;  // more than any answer holds
  host.expect(bytes({'U', 0, 23})).answer(0, CountersAnswer(5, true));
  EXPECT_EQ(Str(0, 4), "<null>");
}

TEST_F(EcrConfExportsTest, CountersTextNeedsAWholeAcceptedAnswer) {
  Bytes shortAnswer = CountersAnswer(5, false);
  shortAnswer.pop_back();
  host.expect(bytes({'U', 0, 23})).answer(0, shortAnswer);
  EXPECT_EQ(Str(0, 4), "<null>");

  Bytes refused = CountersAnswer(5, false);
  refused[1] = 1;
  host.expect(bytes({'U', 0, 23})).answer(0, refused);
  EXPECT_EQ(Str(0, 4), "<null>");

  host.expect(bytes({'U', 0, 23})).answer(3);
  EXPECT_EQ(Str(0, 4), "<null>");

  // Extra amounts that do not fit whole are left out, not read past the answer.
  Bytes partlyExtended = CountersAnswer(5, true);
  partlyExtended.resize(partlyExtended.size() - 3);
  host.expect(bytes({'U', 0, 23})).answer(0, partlyExtended);
  EXPECT_EQ(Str(0, 4), "3,1,200,0042,-000000010,0000000011,0000000012,0000000013,0000000014,0000000015,4660");
}

TEST_F(EcrConfExportsTest, NamedRegisterGetsTheFrameAndIsLeftAfterwards) {
  MultiRegisterLine();
  EcrRecord(3).AmountBytes = 5;
  host.expect(bytes({'U', 0, 23})).to(3).answer(0, CountersAnswer(5, false));
  EXPECT_NE(Str(3, 4), "<null>");
  EXPECT_EQ(CurrentEcr(), 1);
}

// --- chip card ('C' 4, 'C' 5) ------------------------------------------------

// A 'C' 4 answer with a card in the reader; amounts 5 bytes wide (P = 31).
Bytes CardAnswer(int count, int length) {
  Bytes a(89, 0);
  a[0] = 'C';
  const Bytes serial = bytes({0xD1, 0x23, 0x45, 0x67, 0x89});
  std::copy(serial.begin(), serial.end(), a.begin() + 2);
  a[7] = 0xDA;
  a[8] = 0xFE;  // -2
  a[9] = 0x01, a[10] = 0x02, a[11] = 0x03;
  std::memcpy(&a[12], "HOLDER  \x81 ", 10);
  a[22] = 0x10, a[23] = 0x27;  // 10000
  a[24] = 0xAB, a[25] = 0xCD;
  a[26] = 0xD0, a[30] = 0x55;  // amount D000000055
  const int p = 31;
  a[p] = 0xD9, a[p + 1] = 0x88, a[p + 2] = 0x77;
  a[p + 3] = 0x0F;
  a[p + 4] = 0xDD, a[p + 5] = 0x00, a[p + 6] = 0x01;
  a[p + 7] = 0x05;
  std::memcpy(&a[p + 8], "CARD TYPE ONE   ", 16);
  a[p + 24] = static_cast<std::uint8_t>(count);
  if (count > 0) {
    for (int i = 0; i < 8; ++i) a[p + 25 + i] = static_cast<std::uint8_t>(0xD0 + i);
    std::memcpy(&a[p + 33], "ISSUER", 6);
  }
  a[p + 53] = 0x00, a[p + 56] = 0x12, a[p + 57] = 0x34;
  a.resize(static_cast<std::size_t>(length));
  return a;
}

Bytes CardTextAnswer(const std::string& text) {
  Bytes a(2 + 120, 0);
  a[0] = 'C';
  std::memcpy(&a[2], text.data(), text.size());
  return a;
}

// The fields of CardAnswer up to its count (raw card bytes stay hex, 'D' included).
std::string CardFields(const std::string& holder) {
  return "0,D123456789,DA,-2,010203,'" + holder +
         "',10000,ABCD,-000000055,D98877,0F,DD0001,5,'CARD TYPE ONE   ',";
}

TEST_F(EcrConfExportsTest, ChipCardShowsCardBytesAsHexAndTextsInThePcSet) {
  host.status_default(0, 1);  // reader ready
  EcrRecord(1).ModelLetter = 'N';
  EcrRecord(1).ModelNumberN = 1;  // the holder's 0x81 is a Nordic ü
  host.expect(bytes({'C', 4})).answer(0, CardAnswer(0, 60));
  host.expect(bytes({'C', 5})).answer(0, CardTextAnswer("SHORT TEXT"));
  EXPECT_EQ(Str(0, 5), CardFields("HOLDER  \xFC ") + "0,'SHORT TEXT'");
}

TEST_F(EcrConfExportsTest, ChipCardWithExtraRecordAndSavedAmount) {
  host.status_default(0, 1);
  EcrRecord(1).ModelLetter = 'T';  // reads every high byte as a blank
  host.expect(bytes({'C', 4})).answer(0, CardAnswer(2, 89));
  host.expect(bytes({'C', 5})).answer(0, CardTextAnswer("LONG"));
  EXPECT_EQ(Str(0, 5), CardFields("HOLDER    ") + "2,D0D1D2D3D4D5D6D7,'ISSUER','LONG',0000001234");
}

TEST_F(EcrConfExportsTest, ChipCardEndsEarlyWithoutCardOrCardText) {
  host.status_default(0, 1);
  host.expect(bytes({'C', 4})).answer(0, bytes({'C', 1}));
  EXPECT_EQ(Str(0, 5), "1");

  host.expect(bytes({'C', 4})).answer(0, CardAnswer(0, 60));
  host.expect(bytes({'C', 5})).answer(0, bytes({'C', 4}));
  EXPECT_EQ(Str(0, 5), CardFields("HOLDER    ") + "0");
}

TEST_F(EcrConfExportsTest, ChipCardFailsOnAFailedOrShortAnswer) {
  host.status_default(0, 1);
  host.expect(bytes({'C', 4})).answer(2);
  EXPECT_EQ(Str(0, 5), "<null>");

  host.expect(bytes({'C', 4})).answer(0, CardAnswer(0, 50));  // the card type text is cut off
  EXPECT_EQ(Str(0, 5), "<null>");

  host.expect(bytes({'C', 4})).answer(0, CardAnswer(3, 70));  // the extra record is missing
  EXPECT_EQ(Str(0, 5), "<null>");

  host.expect(bytes({'C', 4})).answer(0, CardAnswer(0, 60));
  Bytes shortText = CardTextAnswer("");
  shortText.resize(20);
  host.expect(bytes({'C', 5})).answer(0, shortText);
  EXPECT_EQ(Str(0, 5), "<null>");

  host.expect(bytes({'C', 4})).answer(0, CardAnswer(0, 80));  // long, but the saved bytes do not fit
  host.expect(bytes({'C', 5})).answer(0, CardTextAnswer("X"));
  EXPECT_EQ(Str(0, 5), CardFields("HOLDER    ") + "0,'X'");
}

TEST_F(EcrConfExportsTest, ChipCardReaderThatStaysUnreadyGives99AndLeavesTheReplyAlone) {
  host.status_answers({{0, 0}, {0, 0}});
  Reply().PendingReply = {"the client's answer", true};
  EXPECT_EQ(Str(0, 5), "99");
  EXPECT_EQ(host.status_calls().size(), 2u);
  EXPECT_TRUE(Reply().PendingReply.set);
  EXPECT_EQ(Reply().PendingReply.text, "the client's answer");

  host.status_answers({{7, 1}, {7, 1}});  // a failing status counts as unready
  EXPECT_EQ(Str(0, 5), "99");
}

TEST(ChipCardReader, LineStateFieldSixDecidesWhetherTheRegisterIsCleared) {
  EXPECT_TRUE(EnquiryShowsBlockedReader("1,0,0,0,0,49,0"));
  EXPECT_TRUE(EnquiryShowsBlockedReader("1,0,0,0,0,50"));
  EXPECT_FALSE(EnquiryShowsBlockedReader("1,0,0,0,0,48,49"));
  EXPECT_FALSE(EnquiryShowsBlockedReader("1,0,0,0,49,0"));
  EXPECT_FALSE(EnquiryShowsBlockedReader("1,0,0,0,0,490"));
  EXPECT_FALSE(EnquiryShowsBlockedReader("1,0,0,0,0"));
  EXPECT_FALSE(EnquiryShowsBlockedReader(""));
}

TEST_F(EcrConfExportsTest, ChipCardReaderThatWakesUpIsRead) {
  host.status_answers({{0, 0}, {0, 2}});
  host.expect(bytes({'C', 4})).answer(0, bytes({'C', 1}));
  EXPECT_EQ(Str(0, 5), "1");
}

TEST_F(EcrConfExportsTest, ChipCardSkipsTheReaderCheckWhenBroadcastingOrWithoutStatus) {
  Library().broadcastMode = true;  // the 'C' 4 goes to every register at once
  GetEcrConfStr(5);
  EXPECT_EQ(host.broadcasts(), std::vector<Bytes>{bytes({'C', 4})});
  Library().broadcastMode = false;
  host.info().status = nullptr;
  host.expect(bytes({'C', 4})).answer(0, bytes({'C', 1}));
  EXPECT_EQ(Str(0, 5), "1");
  EXPECT_TRUE(host.status_calls().empty());
}

// --- extended status ---------------------------------------------------------

struct StatusExScript {
  int result = 0;
  int status = 0;
  int length = 0;
  Bytes bytes;
  int calledFor = 0;
};
StatusExScript statusEx;

int QUADREL_CALL ScriptedStatusEx(int ecr, int, int* status, int* length, std::uint8_t* buffer) {
  statusEx.calledFor = ecr;
  *status = statusEx.status;
  *length = statusEx.length;
  std::copy(statusEx.bytes.begin(), statusEx.bytes.end(), buffer);
  return statusEx.result;
}

TEST_F(EcrConfExportsTest, ExtendedStatusAsHexWithItsTraceLines) {
  MultiRegisterLine();
  host.info().statusEx = &ScriptedStatusEx;
  statusEx = {0, 9, 3, bytes({0x0A, 0xD1, 0xFF})};
  EXPECT_EQ(Str(3, 6), "0AD1FF");
  EXPECT_EQ(statusEx.calledFor, 3);
  ASSERT_EQ(host.traces().size(), 3u);
  EXPECT_EQ(host.traces()[0].text, "IDSECRCNF_STATUSEX iF 0");
  EXPECT_EQ(host.traces()[1].text, "IDSECRCNF_STATUSEX iEcrStExLn 3");
  EXPECT_EQ(host.traces()[2].text, "IDSECRCNF_STATUSEX iEcrSt 9");

  statusEx = {5, 0, 3, bytes({1, 2, 3})};
  EXPECT_EQ(Str(0, 6), "<null>");
  EXPECT_EQ(host.traces()[3].text, "IDSECRCNF_STATUSEX iF 5");

  statusEx = {0, 0, kHostStatusExBytes + 1, {}};  // a length past the buffer shows nothing
  EXPECT_EQ(Str(0, 6), "");
  statusEx = {0, 0, -4, {}};
  EXPECT_EQ(Str(0, 6), "");

  host.info().statusEx = nullptr;
  EXPECT_EQ(Str(0, 6), "<null>");
}

// --- 'C' 20 -------------------------------------------------------------------

TEST_F(EcrConfExportsTest, SettingValuesText) {
  Bytes a(20, 0);
  a[0] = 'C';
  a[1] = 2;
  a[2] = 7, a[3] = 255, a[4] = 0;
  a[5] = 0x40, a[6] = 0x42, a[7] = 0x0F;                  // 1000000
  a[9] = 0xFF, a[10] = 0xFF, a[11] = 0xFF, a[12] = 0xFF;  // -1
  a[16] = 0x7F;                                           // 2130706432
  a[17] = 0x31, a[18] = 0x12, a[19] = 0x24;
  host.expect(bytes({'C', 20})).answer(0, a);
  EXPECT_EQ(Str(0, 7), "2,7,255,0,1000000,-1,2130706432,311224");

  a.pop_back();
  host.expect(bytes({'C', 20})).answer(0, a);
  EXPECT_EQ(Str(0, 7), "<null>");
  host.expect(bytes({'C', 20})).answer(2);
  EXPECT_EQ(Str(0, 7), "<null>");
}

}  // namespace
}  // namespace quadrel
