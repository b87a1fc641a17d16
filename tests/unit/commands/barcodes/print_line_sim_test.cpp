// Barcodes and print lines end to end against a simulated register: the rows
// it printed decode to the symbol's modules, commands 21 and 22 print the same
// bars, and the caption prints under them.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "control/control_commands.h"
#include "definition_text.h"
#include "exports/process_state.h"
#include "run/command_executor.h"
#include "run/key_batch_sender.h"
#include "sim_host.h"

namespace quadrel {
namespace {

using DotRows = std::vector<std::vector<std::uint8_t>>;

// The modules of a printed row from its first bar to its last, read every
// `moduleDots` dots.
std::string DecodeModules(const std::vector<std::uint8_t>& row, int moduleDots) {
  std::string dots;
  for (std::size_t dot = 0; dot < row.size() * 8; ++dot)
    dots.push_back((row[dot / 8] >> (7 - dot % 8)) & 1 ? '1' : '0');
  const std::size_t first = dots.find('1');
  const std::size_t last = dots.rfind('1');
  if (first == std::string::npos) return {};
  std::string modules;
  for (std::size_t dot = first; dot <= last; dot += static_cast<std::size_t>(moduleDots))
    modules.push_back(dots[dot]);
  return modules;
}

class PrintLineSim : public test_support::WithShippedDefinitions<> {
 protected:
  void SetUp() override {
    host_.sim.AddRegister(1, *ecrsim::BuiltInConfig("t72"));
    host_.Install();
  }
  void TearDown() override { ResetProcessState(); }

  static int Run(const std::string& line) { return SendKeyBatch(TradExecCommand(line), nullptr, 0); }
  ecrsim::Printer& Printer() { return host_.sim.Find(1)->printer; }
  std::string LastLine() {
    std::string text = Printer().Text();
    text.pop_back();  // its '\n'
    return text.substr(text.rfind('\n') + 1);
  }
  DotRows TakeRows() {
    DotRows rows(Printer().DotRows().begin(), Printer().DotRows().end());
    Printer().Clear();
    return rows;
  }

  SimHost host_;
};

TEST_F(PrintLineSim, PrintedRowsDecodeToTheSymbolAndBothCommandsPrintTheSameBars) {
  // START B, FNC1, A, B, the check symbol, STOP.
  const std::string code128 = "11010010000111101011101010001100010001011000100101100001100011101011";
  ASSERT_EQ(Run("STAMPA TESTO='{B{1AB', CODBARRE=4, MARGINE=1"), 0);
  const std::string framesCaption = LastLine();
  const DotRows frameRows = TakeRows();
  ASSERT_EQ(Run("DOCSTAMPA TESTO='{B{1AB', CODBARRE=4"), 0);
  const std::string recordsCaption = LastLine();
  const DotRows recordRows = TakeRows();

  ASSERT_EQ(frameRows.size(), 100u);
  EXPECT_EQ(recordRows, frameRows);
  EXPECT_EQ(DecodeModules(frameRows[0], 2), code128);
  // 17 bytes of bars are 9 columns of 14 dots: the caption of 4 is centred 2
  // in, after the margin (a byte: no column for 22, one for 21).
  EXPECT_EQ(framesCaption, "    AB");
  EXPECT_EQ(recordsCaption, "     AB");
}

TEST_F(PrintLineSim, AnEanBarcodePrintsItsBarsTheGuardRowsAndTheDigits) {
  ASSERT_EQ(Run("STAMPA TESTO='4006381333931', CODBARRE=1"), 0);
  const std::string printed = Printer().Text();
  const DotRows rows = TakeRows();
  ASSERT_EQ(rows.size(), 104u);
  EXPECT_EQ(
      DecodeModules(rows[0], 2),
      "10100011010100111010111101111010001001011001101010100001010000101000010111010010000101100110101");
  EXPECT_EQ(DecodeModules(rows[103], 2),
            "101" + std::string(42, '0') + "01010" + std::string(42, '0') + "101");
  EXPECT_NE(printed.find("\n4 006381 333931\n"), std::string::npos);
}

struct ReadBackRow {
  const char* line;
  const char* decoded;  // what a barcode reader makes of the printed image
};

TEST_F(PrintLineSim, ABarcodeReaderReadsThePrintedImageFromTheControlChannel) {
  const ReadBackRow rows[] = {
      {"STAMPA TESTO='4006381333931', CODBARRE=1", "4006381333931"},
      {"DOCSTAMPA TESTO='CODE-39', CODBARRE=3", "CODE-39P"},  // with its check character
      {"STAMPA TESTO='Code 128', CODBARRE=5, MODULO=3", "Code 128"},
  };
  const std::string file = ::testing::TempDir() + "print_line_sim.pbm";
  for (const ReadBackRow& row : rows) {
    SCOPED_TRACE(row.line);
    Printer().Clear();
    ASSERT_EQ(Run(row.line), 0);
    std::string image = ecrsim::RunControlLine(host_.sim, "pbm 1");
    ASSERT_EQ(image.substr(0, 3), "P1\n");
    image.resize(image.rfind("OK"));  // the control channel's own last line
    std::ofstream(file, std::ios::binary) << image;
    FILE* reader = popen(("zbarimg --raw -q " + file).c_str(), "r");
    ASSERT_NE(reader, nullptr);
    char decoded[128] = {};
    const std::size_t length = std::fread(decoded, 1, sizeof decoded - 1, reader);
    pclose(reader);
    EXPECT_EQ(std::string(decoded, length), std::string(row.decoded) + "\n");
  }
  std::remove(file.c_str());
}

}  // namespace
}  // namespace quadrel
