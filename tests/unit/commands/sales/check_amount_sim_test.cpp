// Command 73 against a simulated register with an open receipt: the amount
// it reports in its own decimals, and the entry cleared on a mismatch.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "definition_text.h"
#include "exports/process_state.h"
#include "keyboard/key_interpreter.h"
#include "language/result_text.h"
#include "run/command_executor.h"
#include "sim_host.h"

namespace quadrel {
namespace {

constexpr int kDecimalsOffset = 62;  // identity answer

using Frames = std::vector<std::vector<std::uint8_t>>;

class CheckAmountSim : public test_support::WithShippedDefinitions<> {
 protected:
  void TearDown() override { ResetProcessState(); }
};

// Keys that sell `price` (the till's hundredths as typed keys) on department 1.
std::vector<std::uint8_t> SaleKeys(std::vector<std::uint8_t> priceKeys) {
  std::vector<std::uint8_t> frame = {'A'};
  frame.insert(frame.end(), priceKeys.begin(), priceKeys.end());
  frame.insert(frame.end(), {ecrsim::kKeyPrice, 1, ecrsim::kKeyDepartment});
  return frame;
}

TEST_F(CheckAmountSim, EqualAmountsPassAndUnequalOnesClearTheEntryOnEachDecimalsSetting) {
  constexpr std::uint8_t kPoint = ecrsim::kKeyDecimalPoint;
  struct Row {
    int decimals;
    std::vector<std::uint8_t> priceKeys;  // 12.00 or 12.50
    const char* given;
    int result;
    const char* reply;
  };
  const Row rows[] = {
      {0, {1, 2}, "12", 0, "000000000012"},
      {0, {1, 2}, "012", 0, "000000000012"},
      {0, {1, 2}, "13", 265, ""},
      {2, {1, 2, kPoint, 5}, "12.50", 0, "000000001250"},
      {2, {1, 2, kPoint, 5}, "12.51", 265, ""},
      {3, {1, 2, kPoint, 5}, "12.5", 0, "000000012500"},
      {3, {1, 2, kPoint, 5}, "12.501", 265, ""},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(std::to_string(row.decimals) + " decimals, amount " + row.given);
    auto config = *ecrsim::BuiltInConfig("t72");
    config.SetNumber(ecrsim::Area::Identity, kDecimalsOffset, 1, row.decimals);
    SimHost host;
    host.sim.AddRegister(1, config);
    host.Install();
    ecrsim::SimRegister& reg = *host.sim.Find(1);
    reg.Exchange(SaleKeys(row.priceKeys));
    ASSERT_EQ(reg.Status().transaction & 1, 1);
    reg.ClearLog();

    EXPECT_EQ(TradExecCommand(std::string("VERIFICA IMPORTO=") + row.given), row.result);
    std::string text;
    FormatResultText(text, row.result);
    if (row.result == 0) {
      EXPECT_EQ(text, row.reply);
    }
    const bool cleared = row.result != 0;
    EXPECT_EQ(reg.Status().transaction & 1, cleared ? 0 : 1);
    Frames keys;
    for (const auto& logged : reg.Log())
      if (logged.frame[0] == 'A') keys.push_back(logged.frame);
    const Frames expected = cleared ? Frames{{'A', 58}, {'A', 145}} : Frames{};
    EXPECT_EQ(keys, expected);
    ResetProcessState();
  }
}

TEST_F(CheckAmountSim, AFailedOrRefusedAmountReadIsNeverASuccess) {
  SimHost host;
  host.sim.AddRegister(1, *ecrsim::BuiltInConfig("t72"));
  host.Install();
  ecrsim::SimRegister& reg = *host.sim.Find(1);
  reg.Exchange(SaleKeys({1, 2}));
  EXPECT_EQ(TradExecCommand("VERIFICA IMPORTO=12"), 0);        // configuration read and cached
  reg.AddFault({ecrsim::FaultKind::AnswerLetter, 'X', 0, 1});  // after the status frame
  EXPECT_EQ(TradExecCommand("VERIFICA IMPORTO=12"), 0x10000 + 'X');
  reg.EditConfig().SetNumber(ecrsim::Area::Counters, 1, 1, 7);
  EXPECT_EQ(TradExecCommand("VERIFICA IMPORTO=12"), 0x8000 + 7);
  EXPECT_FALSE(Reply().PendingReply.set);
  EXPECT_EQ(TradExecCommand("VERIFICA IMPORTO='abc'"), 265);
  EXPECT_EQ(TradExecCommand("VERIFICA"), 266);
}

}  // namespace
}  // namespace quadrel
