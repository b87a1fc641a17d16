// Symbol-library barcodes end to end: Debian's zint draws them, the simulated
// register prints the rows, and a barcode reader reads the printed image.
#include <cstdio>
#include <fstream>

#include "commands/barcodes/barcode_library.h"
#include "control/control_commands.h"
#include "sim_command_fixture.h"

namespace quadrel {
namespace {

class ZintBarcodeSim : public SimCommandTest {
 protected:
  static void SetUpTestSuite() {
    SimCommandTest::SetUpTestSuite();
    ASSERT_EQ(BindBarcodeLibrary(), kBarcodeBound);
  }
  // What a barcode reader makes of everything printed since the last call.
  std::string ReadPrinted() {
    std::string image = ecrsim::RunControlLine(host_.sim, "pbm 1");
    image.resize(image.rfind("OK"));
    Reg().printer.Clear();
    const std::string file = ::testing::TempDir() + "zint_barcode_sim.pbm";
    std::ofstream(file, std::ios::binary) << image;
    FILE* reader = popen(("zbarimg --raw -q " + file).c_str(), "r");
    char decoded[256] = {};
    const std::size_t length = reader ? std::fread(decoded, 1, sizeof decoded - 1, reader) : 0;
    if (reader) pclose(reader);
    return std::string(decoded, length);
  }
};

TEST_F(ZintBarcodeSim, PrintedSymbolsReadBackAndBothCommandsPrintTheSameRows) {
  const std::string dataFile = ::testing::TempDir() + "qrcode.txt";
  std::ofstream(dataFile, std::ios::binary) << "CHIUSURA 0042 TOTALE 123,45";
  const std::pair<std::string, std::string> rows[] = {
      {"STAMPA FILEDATI='" + dataFile + "', CODBARRE=158, Scala=1.5 , OPZIONE1=2", "CHIUSURA 0042 TOTALE 123,45"},
      {"STAMPA TESTO='https://example.org/r?id=7', CODBARRE=158", "https://example.org/r?id=7"},
      {"STAMPA TESTO='QUADREL-7', CODBARRE=120", "QUADREL-7"},
      {"STAMPA TESTO='4006381333931', CODBARRE=113", "4006381333931"},  // zint's own check digit
      {"DOCSTAMPA TESTO='https://example.org/r?id=7', CODBARRE=158", "https://example.org/r?id=7"},
  };
  for (const auto& [line, decoded] : rows) {
    SCOPED_TRACE(line);
    ASSERT_EQ(Run(line), 0);
    EXPECT_EQ(ReadPrinted(), decoded + "\n");
  }

  // The same QR code by 22 in repeat form and by 21: the same rows, and each
  // run of equal rows one frame, plus the blank runs before and after.
  Reg().ClearLog();
  ASSERT_EQ(Run("STAMPA TESTO='same rows', CODBARRE=158"), 0);
  const auto frameRows = Reg().printer.DotRows();
  std::size_t runs = 1, frames = 0;
  for (std::size_t i = 1; i < frameRows.size(); ++i) runs += frameRows[i] != frameRows[i - 1];
  for (const auto& logged : Reg().Log()) frames += logged.frame.at(0) == 'O';
  EXPECT_LE(frames, runs + 2);
  Reg().printer.Clear();
  ASSERT_EQ(Run("DOCSTAMPA TESTO='same rows', CODBARRE=158"), 0);
  EXPECT_EQ(Reg().printer.DotRows(), frameRows);
}

}  // namespace
}  // namespace quadrel
