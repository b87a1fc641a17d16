// Symbol-library barcodes end to end: Debian's zint draws them, the simulated
// register prints the rows, and a barcode reader reads the printed image.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "commands/barcodes/barcode_library.h"
#include "definition_text.h"
#include "language/definition_tables.h"
#include "run/command_executor.h"
#include "run/key_batch_sender.h"
#include "control_commands.h"
#include "sim_host.h"

namespace quadrel {
namespace {

struct ReadBackRow {
  const char* line;
  const char* decoded;
};

class ZintBarcodeSim : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    ASSERT_TRUE(test_support::LoadShippedDefinitions());
    ASSERT_EQ(BindBarcodeLibrary(), kBarcodeBound);
  }
  static void TearDownTestSuite() { ClearDefinitionTables(); }
  void SetUp() override {
    host_.sim.AddRegister(1, *ecrsim::BuiltInConfig("t72"));
    host_.Install();
  }
  void TearDown() override { ResetProcessState(); }

  ecrsim::Printer& Printer() { return host_.sim.Find(1)->printer; }
  // What a barcode reader makes of everything printed since the last call.
  std::string ReadPrinted() {
    std::string image = ecrsim::RunControlLine(host_.sim, "pbm 1");
    image.resize(image.rfind("OK"));
    Printer().Clear();
    const std::string file = ::testing::TempDir() + "zint_barcode_sim.pbm";
    std::ofstream(file, std::ios::binary) << image;
    FILE* reader = popen(("zbarimg --raw -q " + file).c_str(), "r");
    char decoded[2048] = {};
    const std::size_t length = reader ? std::fread(decoded, 1, sizeof decoded - 1, reader) : 0;
    if (reader) pclose(reader);
    std::remove(file.c_str());
    return std::string(decoded, length);
  }

  SimHost host_;
};

TEST_F(ZintBarcodeSim, PrintedSymbolsReadBackAndBothCommandsPrintTheSameRows) {
  const std::string dataFile = ::testing::TempDir() + "qrcode.txt";
  std::ofstream(dataFile, std::ios::binary) << "CHIUSURA 0042 TOTALE 123,45";
  const std::string fromFile = "STAMPA FILEDATI='" + dataFile + "', CODBARRE=158, Scala=1.5 , OPZIONE1=2";
  const ReadBackRow rows[] = {
      {fromFile.c_str(), "CHIUSURA 0042 TOTALE 123,45\n"},
      {"STAMPA TESTO='https://example.org/r?id=7', CODBARRE=158", "https://example.org/r?id=7\n"},
      {"STAMPA TESTO='QUADREL-7', CODBARRE=120", "QUADREL-7\n"},
      {"STAMPA TESTO='4006381333931', CODBARRE=113", "4006381333931\n"},  // zint's own check digit
      {"DOCSTAMPA TESTO='https://example.org/r?id=7', CODBARRE=158", "https://example.org/r?id=7\n"},
  };
  for (const ReadBackRow& row : rows) {
    SCOPED_TRACE(row.line);
    ASSERT_EQ(SendKeyBatch(TradExecCommand(row.line), nullptr, 0), 0);
    EXPECT_EQ(ReadPrinted(), row.decoded);
  }
  std::remove(dataFile.c_str());

  // The same QR code by 22 in repeat form and by 21: the same rows, and each
  // run of equal rows one frame, plus the blank runs before and after.
  host_.sim.Find(1)->ClearLog();
  ASSERT_EQ(SendKeyBatch(TradExecCommand("STAMPA TESTO='same rows', CODBARRE=158"), nullptr, 0), 0);
  const auto frameRows = Printer().DotRows();
  std::size_t runs = 1;
  for (std::size_t i = 1; i < frameRows.size(); ++i) runs += frameRows[i] != frameRows[i - 1];
  std::size_t outputFrames = 0;
  for (const auto& logged : host_.sim.Find(1)->Log()) outputFrames += logged.frame.at(0) == 'O';
  EXPECT_LE(outputFrames, runs + 2);
  Printer().Clear();
  ASSERT_EQ(SendKeyBatch(TradExecCommand("DOCSTAMPA TESTO='same rows', CODBARRE=158"), nullptr, 0), 0);
  EXPECT_EQ(Printer().DotRows(), frameRows);
}

}  // namespace
}  // namespace quadrel
