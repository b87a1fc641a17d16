#include "mail/closure/closure_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "mail/closure/closure_vat_rates.h"

namespace quadrel {
namespace {

TEST(ClosureTextTest, SplitClosureLineKeepsFiveFieldsOf51CharactersAndUnquotes) {
  const std::string sixty(60, 'x');
  struct Case {
    std::string line;
    std::vector<std::string> fields;
  };
  const Case cases[] = {
      {"", {""}},
      {"1,'08/12/26 23:59'", {"1", "08/12/26 23:59"}},
      {"2001,1,2,'AB''C'", {"2001", "1", "2", "AB'C"}},
      {"a,b,c,d,e,f,g", {"a", "b", "c", "d", "e"}},
      {"x,'q,r'dropped,y", {"x", "q,r", "y"}},
      {"'never closed,still quoted", {"never closed,still quoted"}},
      {"a,", {"a", ""}},
      {"9," + sixty, {"9", sixty.substr(0, 51)}},
  };
  for (const Case& c : cases) {
    const ClosureFields fields = SplitClosureLine(c.line);
    ASSERT_EQ(fields.count, static_cast<int>(c.fields.size())) << c.line;
    for (int n = 0; n < kClosureMaxFields; ++n) {
      EXPECT_EQ(fields[n], n < fields.count ? c.fields[n] : "") << c.line << " field " << n;
    }
  }
}

TEST(ClosureTextTest, RecordCodesFallIntoTheirRangesWithTheirIndexes) {
  struct Case {
    std::int64_t code;
    ClosureRecord record;
    std::int64_t index;
  };
  const Case cases[] = {
      {0, ClosureRecord::Other, 0},           {1, ClosureRecord::Date, 0},
      {4, ClosureRecord::Other, 0},           {999, ClosureRecord::Other, 0},
      {1000, ClosureRecord::ReceiptVat, 0},   {1019, ClosureRecord::ReceiptVat, 19},
      {1020, ClosureRecord::ReceiptReason, 0}, {1039, ClosureRecord::ReceiptReason, 19},
      {1040, ClosureRecord::Unreported, 0},   {1049, ClosureRecord::Unreported, 9},
      {1050, ClosureRecord::InvoiceVat, 0},   {1069, ClosureRecord::Unreported, 9},
      {1070, ClosureRecord::InvoiceReason, 0}, {2000, ClosureRecord::InvoiceReason, 930},
      {2001, ClosureRecord::Department, 0},   {3001, ClosureRecord::DailyTotal, 0},
      {5000, ClosureRecord::HourBand, 999},   {5001, ClosureRecord::Subtender, 0},
  };
  for (const Case& c : cases) {
    const ClosureRecordKind kind = ClassifyClosureRecord(c.code);
    EXPECT_EQ(kind.record, c.record) << c.code;
    EXPECT_EQ(kind.index, c.index) << c.code;
  }
}

TEST(ClosureTextTest, LoadVatRatesFillsEntriesOneToFourFromTheLinesInOrder) {
  const VatRateTable two = LoadVatRates("#33 #1=1, #2=4.00\r\n#33 #1=2, #2=22.00\r\n");
  EXPECT_EQ(two[0].code, 0);
  EXPECT_EQ(two[0].rate, "0,00");
  EXPECT_EQ(two[1].code, 1);
  EXPECT_EQ(two[1].rate, "4,00");
  EXPECT_EQ(two[2].code, 2);
  EXPECT_EQ(two[2].rate, "22,00");
  EXPECT_EQ(two[3].rate, "");

  // Other parameters are passed over; a long rate is cut; lines after the fourth are ignored.
  const VatRateTable six = LoadVatRates(
      "#33 #3=9, #2=12.3456789, #1=7\r\n#33 #1=2, #2=10\r\n#33 #1=3\r\n#33 #1=4, #2=5.5\r\n#33 #1=5, #2=1.0\r\n");
  EXPECT_EQ(six[1].code, 7);
  EXPECT_EQ(six[1].rate, "12,3456");
  EXPECT_EQ(six[2].rate, "10");
  EXPECT_EQ(six[3].rate, "");
  EXPECT_EQ(six[4].code, 4);
  EXPECT_EQ(six[4].rate, "5,5");
}

}  // namespace
}  // namespace quadrel
