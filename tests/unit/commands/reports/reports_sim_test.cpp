// Reports and the daily closure end to end against the simulated register:
// the echo of a report reaches its capture file through the event export
// while the keys are sent, the closure prints and journals its receipt and
// zeroes the day, and the journal (keyboard way) and the XML documents read
// that day back.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "commands/barcodes/barcode_library.h"
#include "file_text.h"
#include "run/retry_runner.h"
#include "sample_receipt.h"
#include "sim_command_fixture.h"

namespace quadrel {
namespace {

namespace fs = std::filesystem;

class ReportsSim : public SimCommandInFolderTest {
 protected:
  void SetUp() override {
    SimCommandInFolderTest::SetUp();
    host_.pumpEvents = true;
  }
  // What the register printed for `lines`, with the line ends of a text file.
  // A code of -1 is not checked.
  std::string Printed(const std::vector<std::string>& lines, int code = 0) {
    Reg().printer.Clear();
    for (const std::string& line : lines) {
      const int result = Run(line);
      if (code >= 0) {
        EXPECT_EQ(result, code) << line;
      }
    }
    return quadrel_test::WithCrLf(Reg().printer.Text());
  }
  std::string Sell() {
    return Printed(
        {std::begin(quadrel_test::kSampleReceiptLines), std::end(quadrel_test::kSampleReceiptLines)});
  }
  bool EchoOn() { return Reg().Config().Byte(ecrsim::Area::OutputSettings, 4) != 0; }

};

TEST_F(ReportsSim, AReportCapturedIntoItsFileEqualsThePrintedOneAndTheEchoGoesBackOff) {
  Sell();
  const std::string printed = Printed({"#26 #10='x.txt'"});
  EXPECT_NE(printed.find("LETTURA GIORNALIERA"), std::string::npos);
  EXPECT_EQ(quadrel_test::FileText("x.txt"), printed);
  EXPECT_FALSE(EchoOn());
  EXPECT_EQ(Reg().keyboard.till.totals.Day().receipts, 1) << "a read report zeroes nothing";
}

TEST_F(ReportsSim, TheClosureJournalsItsReceiptZeroesTheDayAndTheDayReadsBack) {
  std::string receipts = Sell();
  receipts += Sell();
  const std::string closure = Printed({"#27"});
  EXPECT_NE(closure.find("AZZERAMENTO N. 0001"), std::string::npos);
  EXPECT_NE(closure.find("19.00"), std::string::npos);
  EXPECT_EQ(Reg().keyboard.till.totals.Day().total, 0);
  EXPECT_EQ(Reg().journal.closure, 2);

  // The keyboard way: a journal report whose echo fills the file.
  Run("#72 #1=010124, #6='day.txt'");
  EXPECT_EQ(quadrel_test::FileText("day.txt"), receipts + closure);
  EXPECT_FALSE(EchoOn());
  EXPECT_EQ(Run("#121 #3=1"), 0);
  EXPECT_NE(quadrel_test::FileText("corrispettivi_0001.xml").find("<Totale>19.00</Totale>"),
            std::string::npos);
  EXPECT_FALSE(fs::exists("esito_0001.xml")) << "not sent yet";
}

TEST_F(ReportsSim, WithSendZaeTheDaysDocumentIsSentAndItsOutcomeReadsBack) {
  Library().switches.SendZAE = true;
  Sell();
  EXPECT_EQ(Run("#27"), 0);
  EXPECT_EQ(Run("#121 #3=1, #5"), 0);
  EXPECT_NE(quadrel_test::FileText("esito_0001.xml").find("ACCETTATO"), std::string::npos);
  EXPECT_FALSE(fs::exists("corrispettivi_0001.xml"));
}

TEST_F(ReportsSim, ARefusedClosureReturnsItsCodeAndClosesNothing) {
  for (const bool sendZae : {false, true}) {
    Library().switches.SendZAE = sendZae;
    Reg().printer.fault = ecrsim::kPrinterPaperOut;
    EXPECT_EQ(Run("#27") & 0xFF, ecrsim::kPrinterPaperOut) << sendZae;
    EXPECT_EQ(Reg().journal.closure, 1) << sendZae;
    EXPECT_EQ(Reg().xmlStore.Count(), 0u) << sendZae;
  }
}

TEST_F(ReportsSim, AFailureAfterTheClosureIsReturnedWithoutClosingAgain) {
  Library().switches.SendZAE = true;
  // The closure's status frame and three records go through; the send function's first frame fails.
  Reg().AddFault({ecrsim::FaultKind::HostResult, 32, 0, 4});
  EXPECT_NE(TradExecWithRetry("#27", nullptr), 0);
  EXPECT_EQ(Reg().journal.closure, 2);
}

TEST_F(ReportsSim, WithQrTheClosureReceiptIsCapturedThenPrintedAsAQrCodeThatReadsBack) {
  ASSERT_EQ(BindBarcodeLibrary(), kBarcodeBound);
  Library().switches.SendZAE = true;
  Sell();
  const std::string printed = Printed({"#27 #3"});
  const std::string captured = quadrel_test::FileText("qrcode.txt");
  EXPECT_NE(captured.find("CHIUSURA GIORNALIERA"), std::string::npos);
  EXPECT_EQ(printed.substr(0, captured.size()), captured);
  EXPECT_EQ(captured.find("INVIO"), std::string::npos) << "the send function's printout is not the closure's";

  std::ofstream("printed.pbm", std::ios::binary) << Reg().printer.Pbm();
  FILE* reader = popen("zbarimg --raw -q printed.pbm", "r");
  std::string decoded(4096, '\0');
  decoded.resize(reader ? std::fread(decoded.data(), 1, decoded.size(), reader) : 0);
  if (reader) pclose(reader);
  EXPECT_EQ(decoded, captured + "\n");
}

}  // namespace
}  // namespace quadrel
