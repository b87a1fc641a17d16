// Sales, payments, texts and the reset to idle against a simulated register:
// the receipt it prints, the errors it reports as the translator's results,
// and command 74 bringing it back to idle from each state it can be in.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "commands/session/reset_to_idle.h"
#include "definition_text.h"
#include "exports/process_state.h"
#include "keyboard/key_interpreter.h"
#include "language/result_text.h"
#include "run_line.h"
#include "sample_receipt.h"
#include "sim_host.h"

namespace quadrel {
namespace {

using Bytes = std::vector<std::uint8_t>;

void NoPause(std::uint32_t) {}

class SalesSim : public test_support::WithShippedDefinitions<> {
 protected:
  void SetUp() override {
    host_.sim.AddRegister(1, *ecrsim::BuiltInConfig("t72"));
    host_.Install();
    SetResetToIdlePause(NoPause);
  }
  void TearDown() override {
    SetResetToIdlePause(nullptr);
    ResetProcessState();
  }

  // Runs a line as EcrCmd does; `text` receives the result text.
  static int Run(const std::string& line, std::string* text = nullptr) {
    const int code = test_support::RunLine(line);
    if (text) {
      text->clear();
      FormatResultText(*text, code);
    }
    return code;
  }
  void Keys(const Bytes& keys) {
    Bytes frame = {'A'};
    frame.insert(frame.end(), keys.begin(), keys.end());
    Reg().Exchange(frame);
  }
  ecrsim::SimRegister& Reg() { return *host_.sim.Find(1); }
  bool Idle() { return Reg().Status().state == ecrsim::kStateIdle && Reg().Status().transaction == 0; }

  SimHost host_;
};

TEST_F(SalesSim, AReceiptWithSalesADiscountAndTwoPaymentsPrintsTheSameWhateverTheSpeedSwitch) {
  for (const bool fast : {true, false}) {
    SCOPED_TRACE(fast ? "AlwayMaxSpeedFP on" : "AlwayMaxSpeedFP off");
    Reg().printer.Clear();
    Reg().keyboard.till.receiptNumber = 0;
    Library().switches.AlwayMaxSpeedFP = fast;
    for (const char* line : quadrel_test::kSampleReceiptLines) EXPECT_EQ(Run(line), 0) << line;
    EXPECT_EQ(Reg().printer.Text(), quadrel_test::kSampleReceiptPrinted);
    EXPECT_TRUE(Idle());
    EXPECT_EQ(EcrStatusBytes().transactionFlags, 0);  // the translator saw it close
  }
}

TEST_F(SalesSim, ThePaymentKeyWithoutAReceiptIsTheRegistersErrorAndLeavesItUsable) {
  std::string text;
  EXPECT_EQ(Run("PAGA IMPORTO=5", &text), 15);  // the translator knows nothing is open
  EXPECT_EQ(text, "ERROR 0/15 : NO TRANSACTION OPEN");
  EXPECT_EQ(Run("INP NUM=5, TERM=49", &text), 0x1000 | ecrsim::kCriticalNoReceipt);
  EXPECT_EQ(text, "ERROR 16/12 : ECR REPORTS ERROR 12");
  EXPECT_EQ(Run("VENDITA REPARTO=1, PREZZO=100000", &text), 0x1000 | ecrsim::kCriticalAmountTooLarge);
  ASSERT_EQ(Run("CHIAVE X"), 0);
  EXPECT_EQ(Run("VENDITA REPARTO=1, PREZZO=1"), 0x1000 | ecrsim::kCriticalNotInReg);
  EXPECT_EQ(Run("IMPORTO33 IMPORTO=1"), 8);
  // Nothing was printed, and after each error the sender's clear key left it idle.
  EXPECT_EQ(Reg().printer.Text(), "");
  EXPECT_EQ(Reg().Status().critical, 0);
  ASSERT_EQ(Run("CHIAVE R"), 0);
  EXPECT_TRUE(Idle());
}

TEST_F(SalesSim, ResetToIdleLeavesEveryStateTheRegisterCanBeIn) {
  struct State {
    const char* name;
    Bytes keys;  // pressed at the register itself
    int result;
    const char* lastLine;  // what the printout ends with afterwards
  };
  const std::vector<State> states = {
      {"idle", {}, 0, ""},
      {"entry pending", {5}, 0, ""},
      {"critical", {ecrsim::kKeyPosition}, 0, ""},
      {"sale open", {5, ecrsim::kKeyPrice, 1, ecrsim::kKeyDepartment}, 1027, "               ANNULLATO\n"},
      {"entry inside a sale",
       {5, ecrsim::kKeyPrice, 1, ecrsim::kKeyDepartment, 7},
       1027,
       "               ANNULLATO\n"},
      {"cancel asked",
       {5, ecrsim::kKeyPrice, 1, ecrsim::kKeyDepartment, ecrsim::kKeyCancel},
       1027,
       "               ANNULLATO\n"},
      {"subtotal",
       {5, ecrsim::kKeyPrice, 1, ecrsim::kKeyDepartment, ecrsim::kKeySubtotal},
       0,
       "CONTANTI                            5.00\n"},
      {"partly paid",
       {5, ecrsim::kKeyPrice, 1, ecrsim::kKeyDepartment, 2, '3'},
       0,
       "CONTANTI                            3.00\n"},
  };
  for (const State& state : states) {
    SCOPED_TRACE(state.name);
    Reg().printer.Clear();
    Keys(state.keys);
    EXPECT_EQ(Run("RIPRISTINA"), state.result);
    EXPECT_TRUE(Idle());
    const std::string printed = Reg().printer.Text();
    if (*state.lastLine) {
      const std::string tail = std::string(state.lastLine) + std::string(40, '-') + "\n";
      EXPECT_EQ(printed.substr(printed.size() - std::min(printed.size(), tail.size())), tail);
    } else {
      EXPECT_EQ(printed, "");
    }
  }
}

TEST_F(SalesSim, APrinterTheClearKeyCannotFreeStopsTheReset) {
  for (const auto& [fault, result] :
       {std::pair{ecrsim::kPrinterPaperOut, 1025}, std::pair{ecrsim::kPrinterCoverOpen, 1026}}) {
    Reg().printer.fault = fault;
    EXPECT_EQ(Run("VENDITA REPARTO=1, PREZZO=1"), 0x1000 | fault);
    EXPECT_EQ(Run("RIPRISTINA"), result);
    Reg().printer.fault = 0;
    EXPECT_EQ(Run("RIPRISTINA"), 0);
    EXPECT_TRUE(Idle());
  }
}

TEST_F(SalesSim, TextLinesPrintInTheReceiptAndDisplayLinesReachTheDisplays) {
  Reg().EditConfig().SetFeatureLevel(99, 1);
  Reg().EditConfig().SetFeatureLevel(105, 1);
  ASSERT_EQ(Run("SELEZIONA CASSA=1"), 0);  // reads the configuration with the functions
  ASSERT_EQ(Run("CHIAVE X"), 0);
  // 60 moves the key to REG itself, sells and pays in one record.
  ASSERT_EQ(Run("SCONTRINO REPARTO=4, PREZZO=3, DESCRIZ='CAFFE', TIPO=2, IMPORTO=3"), 0);
  ASSERT_EQ(Run("TESTI TESTO1='DOPO'"), 0);
  ASSERT_EQ(Run("VISORE TESTO1='GRAZIE', TESTO2='ARRIVEDERCI', RIGAA1='TOTALE'"), 0);
  EXPECT_EQ(Reg().printer.Text(),
            "                 ECRSIM\n"
            "           SCONTRINO N. 0001\n"
            "CAFFE                               3.00\n"
            "TOTALE                              3.00\n"
            "ASSEGNI                             3.00\n"
            "----------------------------------------\n"
            "DOPO\n"
            "GRAZIE ARRIVEDERCI\n");
  EXPECT_EQ(Reg().display[1].substr(0, 6), "TOTALE");
  EXPECT_EQ(Reg().Status().keyPosition, ecrsim::kRegPosition);
  EXPECT_TRUE(Idle());
}

}  // namespace
}  // namespace quadrel
