#include "mail/closure/closure_rd_format.h"

#include <gtest/gtest.h>

#include <string>

namespace quadrel {
namespace {

TEST(ClosureRdFormatTest, DecimalTextPutsACommaBeforeTheDecimalsAndDropsLeadingZeros) {
  struct Case {
    std::string digits;
    int decimals;
    std::string text;
  };
  const Case cases[] = {
      {"00012345", 2, "123,45"}, {"00000005", 2, "0,05"}, {"00000000", 2, "0,00"}, {"05", 2, "0,05"},
      {"5", 2, "5"},             {"", 2, "0"},            {"00001500", 3, "1,500"},
  };
  for (const Case& c : cases) EXPECT_EQ(DecimalText(c.digits, c.decimals), c.text) << c.digits;
}

TEST(ClosureRdFormatTest, FillLevelNeedsThreeNumbersAfterFieldThreeAndARangeAboveB) {
  struct Case {
    std::string status;
    std::string level;  // empty: no fill level
  };
  const Case cases[] = {
      {"01,2,3,4,150,100,300,ABCDEF", "25,00"},
      {"0,0,0,0,100,100,300,", "0,00"},
      {"0,0,0,0,4294967295,0,4294967295,", "100,00"},
      {"", ""},
      {"0,0,0,0,150,100,300", ""},  // field 6 not followed by ","
      {"0,0,0,0,150,100,100,", ""},  // c = b
      {"0,0,0,0,150,300,100,", ""},  // c below b
      {"0,0,0,0,50,100,300,", ""},   // a below b
      {"0,0,0,0,1x0,100,300,", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(FillLevelText(c.status).value_or(""), c.level) << c.status;
}

TEST(ClosureRdFormatTest, ReportRowRightAlignsCutsAndPadsToTheRowWidth) {
  EXPECT_EQ(ReportRow({{"abc", 5}, {"toolong", 4}}, 12), "  abctool   ");
}

}  // namespace
}  // namespace quadrel
