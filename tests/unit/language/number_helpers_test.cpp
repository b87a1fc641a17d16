#include "language/number_helpers.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>

#include "language/definition_tables.h"
#include "state/ecr_config.h"

namespace quadrel {
namespace {

class NumberHelpersTest : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_ = CurrentRecord();
    CurrentRecord().Decimals = 2;
    CurrentRecord().ModelLetter = 'A';
    CurrentRecord().ModelChar1IsLetter = 0;
  }
  void TearDown() override { CurrentRecord() = saved_; }

  static std::string Padded(std::string_view text, bool expected,
                            bool (*pad)(std::string_view, std::string&) = PadDecimals) {
    std::string dst = "stale";
    EXPECT_EQ(pad(text, dst), expected) << text;
    return dst;
  }

  EcrConfigRecord saved_{};
};

TEST_F(NumberHelpersTest, PadDecimalsScalesToTheRegistersDecimals) {
  EXPECT_EQ(Padded("12.5", true), "1250");
  EXPECT_EQ(Padded("12", true), "1200");
  EXPECT_EQ(Padded("12.", true), "1200");
  EXPECT_EQ(Padded(".5", true), "50");
  EXPECT_EQ(Padded("0.05", true), "005");
  EXPECT_EQ(Padded("", true), "");  // no digit, no zeros
  EXPECT_EQ(Padded(".", true), "");
  CurrentRecord().Decimals = 0;
  EXPECT_EQ(Padded("12", true), "12");
  CurrentRecord().Decimals = 3;
  EXPECT_EQ(Padded("1.5", true), "1500");
}

TEST_F(NumberHelpersTest, PadDecimalsRefusesWhatIsNotAPlainDecimal) {
  EXPECT_EQ(Padded("12.505", false), "");  // more decimals than the register
  EXPECT_EQ(Padded("1.2.3", false), "");
  EXPECT_EQ(Padded("-1", false), "");
  EXPECT_EQ(Padded(" 1", false), "");
  EXPECT_EQ(Padded("1a", false), "");
  CurrentRecord().Decimals = 0;
  EXPECT_EQ(Padded("1.5", false), "");
  CurrentRecord().Decimals = -1;
  EXPECT_EQ(Padded("1", false), "");
}

TEST_F(NumberHelpersTest, PadDecimalsRefusesResultsBeyondItsLimit) {
  // 18 digits and two zeros fill the limit exactly; one more digit is refused.
  const std::string eighteen(18, '9');
  EXPECT_EQ(Padded(eighteen, true), eighteen + "00");
  EXPECT_EQ(Padded(eighteen + "9", false), "");
  EXPECT_EQ(Padded(eighteen + ".99", true), eighteen + "99");
  EXPECT_EQ(Padded(std::string(kPaddedNumberMax + 50, '1'), false), "");
  CurrentRecord().Decimals = 1000;
  EXPECT_EQ(Padded("1", false), "");
}

TEST_F(NumberHelpersTest, PadTwoDecimalsIsForValuesBelowAHundred) {
  CurrentRecord().Decimals = 0;  // not the register's decimals
  EXPECT_EQ(Padded("12.5", true, PadTwoDecimals), "1250");
  EXPECT_EQ(Padded("7", true, PadTwoDecimals), "700");
  EXPECT_EQ(Padded("99.99", true, PadTwoDecimals), "9999");
  EXPECT_EQ(Padded("1.234", true, PadTwoDecimals), "1234");
  EXPECT_EQ(Padded("", true, PadTwoDecimals), "");
  EXPECT_EQ(Padded("100", false, PadTwoDecimals), "");
  EXPECT_EQ(Padded("1.2.3", false, PadTwoDecimals), "");
  EXPECT_EQ(Padded("1,5", false, PadTwoDecimals), "");
  EXPECT_EQ(Padded("1." + std::string(18, '1'), true, PadTwoDecimals), "1" + std::string(18, '1'));
  EXPECT_EQ(Padded("1." + std::string(20, '1'), false, PadTwoDecimals), "");
}

TEST_F(NumberHelpersTest, DecimalAndIntegerTextChecks) {
  for (const char* good : {"", "   ", "0", "-12", " 12 ", "007"}) {
    EXPECT_TRUE(IsDecimalText(good)) << good;
    EXPECT_TRUE(IsIntegerText(good)) << good;
  }
  for (const char* decimal : {"1.5", "-.5", "3.", " -0.25 "}) {
    EXPECT_TRUE(IsDecimalText(decimal)) << decimal;
    EXPECT_FALSE(IsIntegerText(decimal)) << decimal;
  }
  for (const char* bad : {"1.2.3", "1-", "--1", "1 2", "+1", "1e3", "A"}) {
    EXPECT_FALSE(IsDecimalText(bad)) << bad;
    EXPECT_FALSE(IsIntegerText(bad)) << bad;
  }
}

TEST_F(NumberHelpersTest, DigitsToKeysGivesKeypadCodes) {
  std::string keys = "A";
  DigitsToKeys(keys, " 1290.5 ");
  EXPECT_EQ(keys, std::string("A\x01\x02\x09\x0A\x0D\x05", 7));
  keys.clear();
  DigitsToKeys(keys, "1x");
  EXPECT_EQ(keys, std::string("\x01\x00", 2));
  keys.clear();
  EXPECT_EQ(DigitsToKeys(keys, "   "), "");
}

TEST_F(NumberHelpersTest, ParseByteListReadsDecimalValues) {
  std::vector<std::uint16_t> values{9, 9};
  EXPECT_EQ(ParseByteList("1 2 3 ", values), 3);
  EXPECT_EQ(values, (std::vector<std::uint16_t>{1, 2, 3}));
  // The last value counts without a blank after it.
  EXPECT_EQ(ParseByteList("  0   255", values), 2);
  EXPECT_EQ(values, (std::vector<std::uint16_t>{0, 255}));
  EXPECT_EQ(ParseByteList("", values), 0);
  EXPECT_EQ(ParseByteList("    ", values), 0);
  EXPECT_TRUE(values.empty());
}

TEST_F(NumberHelpersTest, ParseByteListTakesLabelsForNames) {
  const LabelTableData saved = LabelTable();
  LabelTable().labels[1] = {"CASH", 40};
  LabelTable().labels[2] = {"BIG", 300};
  LabelTable().count = 2;
  std::vector<std::uint16_t> values;
  EXPECT_EQ(ParseByteList("1 CASH 255", values), 3);
  EXPECT_EQ(values, (std::vector<std::uint16_t>{1, 40, 255}));
  EXPECT_EQ(ParseByteList("CASH cash", values), BYTE_LIST_BAD_VALUE);  // labels are case sensitive
  EXPECT_EQ(ParseByteList("BIG", values), BYTE_LIST_BAD_VALUE);
  LabelTable() = saved;
}

TEST_F(NumberHelpersTest, ParseByteListRefusesBadValues) {
  std::vector<std::uint16_t> values;
  EXPECT_EQ(ParseByteList("1 256 ", values), BYTE_LIST_BAD_VALUE);
  EXPECT_EQ(ParseByteList("1 -1", values), BYTE_LIST_BAD_VALUE);
  EXPECT_EQ(ParseByteList("99999999999999999999999", values), BYTE_LIST_BAD_VALUE);
  EXPECT_EQ(ParseByteList(std::string(kMaxByteListToken + 1, '1'), values), BYTE_LIST_BAD_VALUE);
}

TEST_F(NumberHelpersTest, ParseByteListHoldsAtMostNinetyNineValues) {
  std::string list;
  for (std::size_t i = 0; i < kMaxByteListValues; ++i) list += "7 ";
  std::vector<std::uint16_t> values;
  EXPECT_EQ(ParseByteList(list, values), static_cast<int>(kMaxByteListValues));
  EXPECT_EQ(ParseByteList(list + "7", values), BYTE_LIST_TOO_MANY);
}

struct NetVat {
  std::int64_t net = -1;
  std::int64_t tax = -1;
  bool ok = false;
};

NetVat Split(std::string_view gross, std::string_view rate) {
  NetVat result;
  result.ok = SplitNetVat(gross, rate, result.net, result.tax);
  return result;
}

TEST_F(NumberHelpersTest, SplitNetVatRoundsTheNetHalfUp) {
  NetVat split = Split("105", "500");
  EXPECT_TRUE(split.ok);
  EXPECT_EQ(split.net, 100);
  EXPECT_EQ(split.tax, 5);
  split = Split("106", "500");  // 100.95...
  EXPECT_EQ(split.net, 101);
  EXPECT_EQ(split.tax, 5);
  split = Split("122", "2200");  // 100.0 exactly
  EXPECT_EQ(split.net, 100);
  EXPECT_EQ(split.tax, 22);
  split = Split("1000", "0");
  EXPECT_EQ(split.net, 1000);
  EXPECT_EQ(split.tax, 0);
}

TEST_F(NumberHelpersTest, SplitNetVatTruncatesOnTheTruncatingModels) {
  for (const char model : {'1', '4', '5', 'B', 'S', 'T', 'W'}) {
    CurrentRecord().ModelLetter = model;
    const NetVat split = Split("106", "500");
    EXPECT_EQ(split.net, 100) << model;
    EXPECT_EQ(split.tax, 6) << model;
  }
  CurrentRecord().ModelLetter = 'S';
  CurrentRecord().ModelChar1IsLetter = 1;
  EXPECT_EQ(Split("106", "500").net, 101);
}

TEST_F(NumberHelpersTest, SplitNetVatRoundsNegativeAmountsLikePositiveOnes) {
  const NetVat split = Split("-106", "500");
  EXPECT_TRUE(split.ok);
  EXPECT_EQ(split.net, -101);
  EXPECT_EQ(split.tax, -5);
}

TEST_F(NumberHelpersTest, SplitNetVatReadsTextsLikeTheCLibrary) {
  NetVat split = Split("  000105xyz", "0500");
  EXPECT_TRUE(split.ok);
  EXPECT_EQ(split.net, 100);
  split = Split("", "500");
  EXPECT_TRUE(split.ok);
  EXPECT_EQ(split.net, 0);
  EXPECT_EQ(split.tax, 0);
}

TEST_F(NumberHelpersTest, SplitNetVatRefusesDivisionByZeroAndOverflow) {
  constexpr std::int64_t kLargestGross = std::numeric_limits<std::int64_t>::max() / 100000;
  for (const auto& [gross, rate] : {std::pair<std::string, std::string>{"105", "-10000"},
                                    {std::to_string(kLargestGross + 1), "500"},
                                    {std::to_string(-kLargestGross - 1), "500"},
                                    {"105", "9223372036854775807"},
                                    {"99999999999999999999", "500"}}) {
    const NetVat split = Split(gross, rate);
    EXPECT_FALSE(split.ok) << gross << " " << rate;
    EXPECT_EQ(split.net, 0);
    EXPECT_EQ(split.tax, 0);
  }
  const NetVat largest = Split(std::to_string(kLargestGross), "0");
  EXPECT_TRUE(largest.ok);
  EXPECT_EQ(largest.net, kLargestGross);
}

}  // namespace
}  // namespace quadrel
