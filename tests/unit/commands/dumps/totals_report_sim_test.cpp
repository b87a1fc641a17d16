// File 99 end to end: sales over two departments at two VAT rates, then the
// report carries exactly their totals as the simulated register keeps them,
// and after the daily closure only what the closure keeps.
#include <map>

#include "totals_sim_fixture.h"

namespace quadrel {
namespace {

class TotalsReportSim : public TotalsSimTest {
 protected:
  std::map<int, std::string> Report() {
    std::map<int, std::string> keyed;
    for (const std::string& line : Dump("99")) keyed[std::stoi(line)] = line;
    return keyed;
  }
};

TEST_F(TotalsReportSim, SalesReachTheVatDepartmentAndDailyLines) {
  struct Case {
    char model;
    std::string vat1, vat2;
  };
  // The plain model truncates: 14.20 at 22 % has the net 11.63 (1163.9), 5.50
  // at 10 % the net 5.00. Model M reads what its register split, rounding.
  for (const Case& c : {Case{'T', "1001,00001420,00001163,00000257", "1002,00000550,00000500,00000050"},
                        Case{'M', "1001,00001420,00001164,00000256", "1002,00000550,00000500,00000050"}}) {
    SCOPED_TRACE(c.model);
    LayOut(c.model);
    SellAndPay(
        {"VENDITA REPARTO=1, PREZZO=12.20", "VENDITA REPARTO=1, PREZZO=2", "VENDITA REPARTO=2, PREZZO=5.50"});
    std::map<int, std::string> lines = Report();
    EXPECT_EQ(lines[1000], "1000,00000000,00000000,00000000");
    EXPECT_EQ(lines[1001], c.vat1);
    EXPECT_EQ(lines[1002], c.vat2);
    EXPECT_EQ(lines[2001], "2001,00001420,00002000,'      '");
    EXPECT_EQ(lines[2002], "2002,00000550,00001000,'      '");
    EXPECT_EQ(lines[3001], "3001,00001970,0003,''");
    ASSERT_EQ(Run("#27"), 0);
  }
}

// A discount is shared by the receipt's lines, so every table adds up to what
// was taken; the closure clears the day and moves its counter, the grand total stays.
TEST_F(TotalsReportSim, TheClosureClearsTheDayAndKeepsTheGrandTotal) {
  LayOut('T');
  SellAndPay({"VENDITA REPARTO=1, PREZZO=10", "VENDITA REPARTO=2, PREZZO=30", "IMPORTO33 IMPORTO=4"});
  std::map<int, std::string> day = Report();
  EXPECT_EQ(day[2], "2,00003600");
  EXPECT_EQ(day[3], "3,0000");
  EXPECT_EQ(day[1001], "1001,00000900,00000737,00000163");
  EXPECT_EQ(day[2002], "2002,00002700,00001000,'      '");
  EXPECT_EQ(day[3001], "3001,00003600,0002,''");

  ASSERT_EQ(Run("#27"), 0);
  std::map<int, std::string> next = Report();
  EXPECT_EQ(next[2], "2,00003600");
  EXPECT_EQ(next[3], "3,0001");
  EXPECT_EQ(next[1001], "1001,00000000,00000000,00000000");
  EXPECT_EQ(next[2001], "2001,00000000,00000000,'      '");
  EXPECT_EQ(next[3001], "3001,00000000,0000,''");
}

}  // namespace
}  // namespace quadrel
