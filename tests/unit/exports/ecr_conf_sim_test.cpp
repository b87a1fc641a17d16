// GetEcrConfVal and GetEcrConfStr against simulated registers: every value
// item of each supported built-in model equals what the simulator holds,
// registers named in the identifier on single- and multi-register lines, and
// the string items built from the register's answers and the host's
// extended status.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "control/control_commands.h"
#include "exports/ecr_conf_exports.h"
#include "sim_host.h"

namespace quadrel {
namespace {

using ecrsim::Area;

constexpr int kNoValue = -1;

// Where the host's record takes each value item from, in the simulator's terms.
struct ValueSource {
  int item;
  Area area;
  int offset;
  int width;
};
constexpr ValueSource kDirectItems[] = {
    {13, Area::Block4, 36, 1},   {14, Area::Block4, 35, 1},   {15, Area::Identity, 47, 1},
    {16, Area::Block4, 43, 1},   {17, Area::Identity, 49, 2}, {20, Area::Block1, 19, 2},
    {202, Area::Block4, 37, 1},
};
constexpr ValueSource kFileInfoItems[] = {
    {101, Area::FileInfo, 8, 2},  {102, Area::FileInfo, 10, 2}, {103, Area::FileInfo, 12, 2},
    {104, Area::FileInfo, 15, 1}, {105, Area::FileInfo, 16, 1}, {106, Area::FileInfo, 17, 1},
    {107, Area::FileInfo, 18, 1}, {108, Area::FileInfo, 19, 1}, {109, Area::FileInfo, 20, 1},
    {110, Area::FileInfo, 33, 3}, {111, Area::FileInfo, 42, 3}, {112, Area::FileInfo, 45, 2},
    {113, Area::FileInfo, 47, 1}, {114, Area::FileInfo, 56, 2}, {115, Area::FileInfo, 58, 2},
    {116, Area::FileInfo, 69, 2}, {117, Area::FileInfo, 79, 1}, {118, Area::FileInfo, 78, 1},
    {119, Area::FileInfo, 80, 1},
};

// The host's own values of a register without file information.
int FileItemDefault(int item) {
  return item == 106 ? 16 : item == 107 ? 6 : 0;
}

class EcrConfSim : public ::testing::Test {
 protected:
  void SetUp() override {
    host_.sim.AddRegister(1, *ecrsim::BuiltInConfig("t72"));
    host_.Install();
    host_.MarkPresentRegisters();
  }
  void TearDown() override { ResetProcessState(); }

  const ecrsim::RegisterConfig& Config(int ecr) { return host_.sim.Find(ecr)->Config(); }
  std::string Control(const std::string& line) { return ecrsim::RunControlLine(host_.sim, line); }
  static std::string Str(int ecr, int item) {
    const char* text = GetEcrConfStr(ConfId(ecr, item));
    return text ? text : "<null>";
  }

  // A line of registers 1 (t72), 2 (s12) and 4 (c02).
  void MultiRegisterLine() {
    host_.sim.AddRegister(2, *ecrsim::BuiltInConfig("s12"));
    host_.sim.AddRegister(4, *ecrsim::BuiltInConfig("c02"));
    host_.MarkPresentRegisters();
    host_.info().protocolType = 1;
    Library().TradFlags |= TRADF_MULTI_ECR;
  }

  SimHost host_;
};

// ---- value items of each model ----

class EcrConfSimModel : public EcrConfSim, public ::testing::WithParamInterface<const char*> {
 protected:
  void SetUp() override {
    EcrConfSim::SetUp();
    host_.sim.AddRegister(1, *ecrsim::BuiltInConfig(GetParam()));
  }
};

TEST_P(EcrConfSimModel, EveryValueItemEqualsWhatTheRegisterHolds) {
  const ecrsim::RegisterConfig& c = Config(1);
  const bool fixedWidths = c.Byte(Area::Block4, 33) == 0;  // this model's widths are the host's own
  const bool infoFrames = c.FeatureLevel(7) != 0;
  const bool longSettings = c.Size(Area::OutputSettings) >= 10;

  EXPECT_EQ(GetEcrConfVal(ConfId(0, 10)), 1);
  EXPECT_EQ(GetEcrConfVal(ConfId(0, 11)), c.Byte(Area::OutputSettings, 9) & 0x0F);
  for (const ValueSource& v : kDirectItems) {
    if (fixedWidths && v.area == Area::Block4) continue;
    EXPECT_EQ(GetEcrConfVal(ConfId(0, v.item)), static_cast<int>(c.Number(v.area, v.offset, v.width)))
        << v.item;
  }
  const int printWidth = fixedWidths ? 20 : c.Byte(Area::Block4, 33);
  EXPECT_EQ(GetEcrConfVal(ConfId(0, 12)), printWidth);
  if (fixedWidths) {
    EXPECT_EQ(GetEcrConfVal(ConfId(0, 13)), 2);
    EXPECT_EQ(GetEcrConfVal(ConfId(0, 14)), 5);
    EXPECT_EQ(GetEcrConfVal(ConfId(0, 16)), 4);
    EXPECT_EQ(GetEcrConfVal(ConfId(0, 19)), 8);
    EXPECT_EQ(GetEcrConfVal(ConfId(0, 202)), 5);
    EXPECT_EQ(GetEcrConfVal(ConfId(0, 18)), 10);
  } else {
    EXPECT_EQ(GetEcrConfVal(ConfId(0, 19)),
              c.Byte(Area::Block4, c.FeatureLevel(118) != 0 ? 61 : 42));
  }
  if (!fixedWidths) {
    const int lineParam = c.Byte(Area::Block4, 58) != 0 ? c.Byte(Area::Block4, 58) : 10;
    EXPECT_EQ(GetEcrConfVal(ConfId(0, 18)), c.FeatureLevel(57) != 0 ? lineParam : 0);
  }
  for (const ValueSource& v : kFileInfoItems) {
    const int held = infoFrames ? static_cast<int>(c.Number(v.area, v.offset, v.width)) : FileItemDefault(v.item);
    EXPECT_EQ(GetEcrConfVal(ConfId(0, v.item)), held) << v.item;
  }
  const int settingB = longSettings ? c.Byte(Area::OutputSettings, 10) & 0x0F : 5;
  const int settingC =
      longSettings ? c.Byte(Area::OutputSettings, 10) & 0x30 : c.Byte(Area::OutputSettings, 9) & 0x20;
  EXPECT_EQ(GetEcrConfVal(ConfId(0, 200)), settingB);
  EXPECT_EQ(GetEcrConfVal(ConfId(0, 201)), settingC);
  const bool printsWide = c.Text(Area::Identity, 69, 8) == "T1RT072A";
  EXPECT_EQ(GetEcrConfVal(ConfId(0, 203)), printWidth <= 32 || printsWide ? printWidth : 32);
  EXPECT_EQ(GetEcrConfVal(ConfId(0, 204)), c.FeatureLevel(115) != 0 ? 1 : 0);
  for (int item : {2, 9, 21, 100, 120, 205}) EXPECT_EQ(GetEcrConfVal(ConfId(0, item)), kNoValue) << item;

  // Named explicitly, the file items are read again: a register without
  // information frames refuses the download.
  for (const ValueSource& v : kFileInfoItems) {
    const int expected = infoFrames ? static_cast<int>(c.Number(v.area, v.offset, v.width)) : kNoValue;
    EXPECT_EQ(GetEcrConfVal(ConfId(1, v.item)), expected) << v.item;
  }
}

INSTANTIATE_TEST_SUITE_P(BuiltIns, EcrConfSimModel, ::testing::Values("t72", "s12", "c02"));

TEST_F(EcrConfSim, AnUnsupportedModelHasNoValues) {
  host_.sim.AddRegister(1, *ecrsim::BuiltInConfig("m4"));
  EXPECT_EQ(GetEcrConfVal(ConfId(0, 0)), 3000003);
  EXPECT_EQ(GetEcrConfVal(ConfId(0, 12)), kNoValue);
  EXPECT_EQ(Str(0, 1), "<null>");
}

TEST_F(EcrConfSim, FileItemsOfANamedRegisterFollowTheRegistersChanges) {
  ASSERT_EQ(GetEcrConfVal(ConfId(0, 101)), static_cast<int>(Config(1).Word(Area::FileInfo, 8)));
  ASSERT_EQ(Control("set 1 fileinfo word 8 4321"), "OK\n");
  EXPECT_NE(GetEcrConfVal(ConfId(0, 101)), 4321);  // the cache
  EXPECT_EQ(GetEcrConfVal(ConfId(1, 101)), 4321);  // read again
  ASSERT_EQ(Control("set 1 fileinfo byte 1 1"), "OK\n");  // the register refuses the download
  EXPECT_EQ(GetEcrConfVal(ConfId(1, 101)), kNoValue);
}

// ---- registers named in the identifier ----

TEST_F(EcrConfSim, RegistersOfAMultiRegisterLine) {
  MultiRegisterLine();
  EXPECT_EQ(host_.info().registerCount, 4);
  // A named register that does not answer: -1, and CurrentEcr is still restored.
  host_.sim.Find(4)->AddFault({ecrsim::FaultKind::NoAnswer});
  EXPECT_EQ(GetEcrConfVal(ConfId(4, 12)), kNoValue);
  EXPECT_EQ(CurrentEcr(), 1);

  EXPECT_EQ(GetEcrConfVal(ConfId(2, 12)), 24);
  EXPECT_EQ(GetEcrConfVal(ConfId(4, 12)), 20);
  EXPECT_EQ(GetEcrConfVal(ConfId(1, 12)), 40);
  EXPECT_EQ(Str(2, 2), "S200B12X");
  EXPECT_EQ(CurrentEcr(), 1);  // back to the selected register after each

  EXPECT_EQ(GetEcrConfVal(ConfId(3, 12)), kNoValue);  // not present
  EXPECT_EQ(GetEcrConfVal(ConfId(5, 12)), kNoValue);  // above the count
  EXPECT_EQ(Str(3, 1), "<null>");
  EXPECT_EQ(CurrentEcr(), 1);
}

TEST_F(EcrConfSim, ASingleRegisterLineHasOnlyRegister1) {
  host_.sim.AddRegister(2, *ecrsim::BuiltInConfig("s12"));
  host_.MarkPresentRegisters();
  EXPECT_EQ(GetEcrConfVal(ConfId(2, 12)), kNoValue);
  EXPECT_TRUE(host_.sim.Find(2)->Log().empty());
  EXPECT_EQ(GetEcrConfVal(ConfId(1, 12)), 40);
}

// ---- string items ----

TEST_F(EcrConfSim, TheHostStatusTextShowsTheLineTheHostServes) {
  MultiRegisterLine();
  host_.info().hostSwitches = 2;
  const std::string text = Str(0, 0);
  ASSERT_EQ(text.size(), 80u);
  EXPECT_EQ(text.substr(0, 34), "1040101   110100000000000000000000");
  EXPECT_EQ(Str(1, 0), "<null>");
}

TEST_F(EcrConfSim, IdentityTextsAreTheRegistersOwn) {
  const ecrsim::RegisterConfig& c = Config(1);
  EXPECT_EQ(Str(0, 1), c.Text(Area::IdentityBlock, 4, 11));  // t72 names a longer identifier there
  EXPECT_EQ(Str(0, 2), c.Text(Area::Identity, 69, 8));
  EXPECT_EQ(Str(0, 3), c.Text(Area::Identity, 11, 20));
  EXPECT_EQ(Str(0, 8), "<null>");
}

TEST_F(EcrConfSim, CountersTextFollowsTheRegistersAnswer) {
  // t72: 6-byte totals, and the newer answer with two more totals and a count.
  EXPECT_EQ(Str(0, 4),
            "1,1,201,1231,000000000101,000000000201,-00000000301,000000000401,000000000501,"
            "000000000601,40001,000000007001,-00000000081,-1");
  ASSERT_EQ(Control("set 1 counters size 46"), "OK\n");  // the older answer
  ASSERT_EQ(Control("set 1 counters byte 6 7"), "OK\n");
  ASSERT_EQ(Control("set 1 counters hex 11 000000999999"), "OK\n");
  EXPECT_EQ(Str(0, 4),
            "7,1,201,1231,000000999999,000000000201,-00000000301,000000000401,000000000501,"
            "000000000601,40001");
  ASSERT_EQ(Control("set 1 counters byte 1 2"), "OK\n");  // status: not available
  EXPECT_EQ(Str(0, 4), "<null>");
  ASSERT_EQ(Control("set 1 counters size 40"), "OK\n");  // a total cut short
  ASSERT_EQ(Control("set 1 counters byte 1 0"), "OK\n");
  EXPECT_EQ(Str(0, 4), "<null>");
}

TEST_F(EcrConfSim, ChipCardTextWithAndWithoutACard) {
  host_.statusFlags = 1;  // the host says the reader is ready
  EXPECT_EQ(Str(0, 5), "1");
  ASSERT_EQ(Control("status 1 card 1"), "OK\n");
  // t72's card: 6-byte amounts, two extra records (the long text) and the saved amount.
  const std::string cardData =
      "0,373A3D4043,46,-15,4C4F52,'CARD1     ',3001,797C,000000004501,919497,9A,9DA0A3,-127,"
      "'HOLDER 1        ',2,DCDFE2E5E8EBEEF1,'SECOND PART 1       '";
  const std::string cardText = "'CARD TEXT OF MODEL 1" + std::string(100, ' ') + "'";
  EXPECT_EQ(Str(0, 5), cardData + "," + cardText + ",-000000991");

  // A card text the register does not give ends the item after the card data.
  ASSERT_EQ(Control("set 1 cardtext byte 1 3"), "OK\n");
  EXPECT_EQ(Str(0, 5), cardData);
  // Card data cut before the holder's text: no text at all.
  ASSERT_EQ(Control("set 1 card size 45"), "OK\n");
  EXPECT_EQ(Str(0, 5), "<null>");
}

TEST_F(EcrConfSim, ExtendedStatusIsTheHostsReportAsHex) {
  EXPECT_EQ(Str(0, 6), "101F2E3D4C5B6A79");
  ASSERT_EQ(Control("set 1 statusex size 2"), "OK\n");
  EXPECT_EQ(Str(0, 6), "101F");
  ASSERT_EQ(Control("set 1 statusex size 0"), "OK\n");
  EXPECT_EQ(Str(0, 6), "");
  host_.statusExResult = 3;
  EXPECT_EQ(Str(0, 6), "<null>");
}

TEST_F(EcrConfSim, SettingValuesTextIsTheRegistersC20Answer) {
  EXPECT_EQ(Str(0, 7), "1,21,31,41,100001,-2,17970262,202401");
  ASSERT_EQ(Control("set 1 values triple 5 0"), "OK\n");
  EXPECT_EQ(Str(0, 7), "1,21,31,41,0,-2,17970262,202401");
  ASSERT_EQ(Control("set 1 values size 18"), "OK\n");  // the BCD field cut short
  EXPECT_EQ(Str(0, 7), "<null>");
  host_.sim.AddRegister(1, *ecrsim::BuiltInConfig("s12"));  // no 'C' 20
  EXPECT_EQ(Str(0, 7), "<null>");
}

}  // namespace
}  // namespace quadrel
