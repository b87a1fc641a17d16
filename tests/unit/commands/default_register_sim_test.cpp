// The register ecrsim serves without a configuration answers the totals, the
// direct journal read and the XML download as it comes: nothing laid out or
// switched on by hand.
#include <gtest/gtest.h>

#include <string>

#include "file_text.h"
#include "sample_receipt.h"
#include "sim_command_fixture.h"

namespace {

using DefaultRegister = SimCommandInFolderTest;

TEST_F(DefaultRegister, AnswersTheTotalsTheJournalAndTheXmlDocumentOfItsClosure) {
  Reg().printer.Clear();
  for (const char* line : quadrel_test::kSampleReceiptLines) ASSERT_EQ(Run(line), 0) << line;

  ASSERT_EQ(Run("SCARICA ARCHIVIO=99, NOMEFILE='totals.txt'"), 0);
  const std::string totals = quadrel_test::FileText("totals.txt");
  EXPECT_NE(totals.find("\n2,000000000950\r\n"), std::string::npos) << totals;  // the grand total
  // Department 1's share after the discount, and its quantity in thousandths.
  EXPECT_NE(totals.find("\n2001,000000000465,000000002000,"), std::string::npos) << totals;

  ASSERT_EQ(Run("#72 #13, #1=" + Reg().journal.date + ", #6='journal.txt'"), 0);
  EXPECT_EQ(quadrel_test::FileText("journal.txt"), quadrel_test::WithCrLf(Reg().printer.Text()));

  ASSERT_EQ(Run("#27"), 0);  // the daily closure files the day's XML document
  EXPECT_EQ(Run("#121 #3=1"), 0);
  EXPECT_NE(quadrel_test::FileText("corrispettivi_0001.xml").find("<Totale>9.50</Totale>"),
            std::string::npos);
}

}  // namespace
