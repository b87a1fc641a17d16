// Command 71 against simulated registers: which items talk to the register
// and how, the blocks they read, the file line, and the items that fail.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "definition_text.h"
#include "exports/process_state.h"
#include "language/result_text.h"
#include "link/ecr_readiness.h"
#include "run/command_executor.h"
#include "sim_host.h"
#include "state/ecr_config.h"
#include "state/library_state.h"

namespace quadrel {
namespace {

using ecrsim::Area;

constexpr std::uint16_t kCounterBlocks = 0x3000;  // where the tests put the counter blocks (A11)
constexpr std::uint32_t kJournalBlock = 4 * 16384;

class InfoEnquirySim : public test_support::WithShippedDefinitions<::testing::TestWithParam<const char*>> {
 protected:
  void SetUp() override {
    host_.sim.AddRegister(1, *ecrsim::BuiltInConfig(GetParam()));
    host_.Install();
  }
  void TearDown() override { ResetProcessState(); }

  // Runs item `item`; `text` receives the result text.
  int Item(int item, std::string& text, const std::string& extra = {}) {
    const int code = TradExecCommand("INFO VOCE=" + std::to_string(item) + extra);
    text.clear();
    FormatResultText(text, code);
    return code;
  }
  std::string Text(int item) {
    std::string text;
    EXPECT_EQ(Item(item, text), 0) << "item " << item;
    return text;
  }
  ecrsim::SimRegister& Reg() { return *host_.sim.Find(1); }

  SimHost host_;
};

TEST_P(InfoEnquirySim, ItemZeroNeedsNoRegisterAndFourteenRereadsTheConfiguration) {
  EXPECT_EQ(Text(0).size(), 80u);
  EXPECT_TRUE(Reg().Log().empty());
  const std::string id = Text(1);
  EXPECT_EQ(id, "'" + std::string(EcrRecord(1).EcrId) + "'");
  Reg().ClearLog();
  Text(2);
  const std::size_t cached = Reg().Log().size();
  Reg().ClearLog();
  Text(14);
  EXPECT_GT(Reg().Log().size(), cached + 3) << "item 14 reads the configuration again";
}

TEST_P(InfoEnquirySim, UnusedItemsAndAMissingItemAreRefused) {
  std::string text;
  for (const int item : {9, 22, 99}) EXPECT_EQ(Item(item, text), 265) << item;
  EXPECT_EQ(TradExecCommand("INFO"), 266);
}

TEST_P(InfoEnquirySim, TheFileLineIsTheResultText) {
  const auto file =
      std::filesystem::temp_directory_path() / (std::string("info_enquiry_") + GetParam() + ".txt");
  for (const int item : {0, 2, 13, 14}) {
    std::string text;
    ASSERT_EQ(Item(item, text, ", FILE='" + file.string() + "'"), 0);
    std::ifstream in(file, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), text + "\r\n") << item;
  }
  std::filesystem::remove(file);
  std::string text;
  EXPECT_EQ(Item(1, text, ", FILE='/no/such/folder/x.txt'"), 11);
  EXPECT_EQ(Item(0, text, ", FILE='/dev/full'"), 11);  // the line never reaches the disk
}

TEST_P(InfoEnquirySim, AFailedHeaderReadGivesFourAndDropsTheRecord) {
  Text(15);
  const auto frames = static_cast<int>(Reg().Log().size());
  Reg().ClearLog();
  Reg().AddFault({ecrsim::FaultKind::AnswerLetter, 'X', 0, frames - 1});  // the header read
  std::string text;
  EXPECT_EQ(Item(15, text), 4);
  EXPECT_EQ(CurrentRecord().EcrNumber, 0);
}

TEST_P(InfoEnquirySim, TheLineStateShowsTheRegisterOnlyWhenTheHostKnowsIt) {
  host_.statusFlags = HOST_STATUS_NOT_READY;
  // Not ready, the first extended-status byte, then the state fields ('C' 11): ecrsim
  // keeps only the closure number (the ninth field) in them.
  EXPECT_EQ(Text(8), "1,1," + std::to_string(Reg().Config().Byte(Area::ExtendedStatus, 1)) + ",0,0,0,0,0," +
                         std::to_string(Reg().journal.closure) + ",0,0");
  host_.statusResult = 2;
  EXPECT_EQ(Text(8), "0") << "a failed status ask";
  Library().host.info = nullptr;
  EXPECT_EQ(Text(8), "0") << "no host-info record";
}

INSTANTIATE_TEST_SUITE_P(Models, InfoEnquirySim, ::testing::Values("t72", "s12"));

// The counter and journal items on the register that has them.
class InfoEnquiryBlocks : public InfoEnquirySim {};

TEST_P(InfoEnquiryBlocks, CounterBlocksAreReadAtTheirAddress) {
  Reg().EditConfig().SetNumber(Area::Block3, 81, 2, 0);
  TradExecCommand("INFO VOCE=14");  // reads the record again with the new address
  EXPECT_EQ(Text(11), "") << "no counter blocks";
  Reg().EditConfig().SetNumber(Area::Block3, 81, 2, kCounterBlocks);
  Reg().placedMemory.Place(kCounterBlocks,
                           {0x01, 0x23, 0x24, 0x12, 0x26, 0x08, 0x45, 0xAA, 0xBB, 0xCC, 0xDD, 0xEE, 0xFF});
  std::vector<std::uint8_t> wide(31, 0);
  wide[29] = 0x98, wide[30] = 0x76;
  TradExecCommand("INFO VOCE=14");  // reads the record again with the new address
  EXPECT_EQ(Text(11), "0123");
  EXPECT_EQ(Text(12), "'24/12/26 08:45'");
  EXPECT_EQ(Text(16), "0845AABBCCDD");
  Reg().placedMemory.Place(kCounterBlocks, wide);
  EXPECT_EQ(Text(17), "9876");
}

TEST_P(InfoEnquiryBlocks, TheJournalStampNeedsItsMarker) {
  auto& config = Reg().EditConfig();
  config.SetNumber(Area::IdentityBlock, 23, 2, 5);  // blocks written
  config.SetNumber(Area::IdentityBlock, 25, 2, 7);  // current block m
  std::vector<std::uint8_t> first(8, 0);
  first[4] = 3;  // first block number k
  Reg().placedExtendedMemory.Place(0, first);
  const std::vector<std::uint8_t> stamped = {0x55, 0xAA, 0x5A, 0xA5, 0, 0, 0x09, 0x12, 0x26, 0, 0x18, 0x30};
  Reg().placedExtendedMemory.Place(kJournalBlock, stamped);
  EXPECT_EQ(Text(21), "7,'09/12/26 18:30'");

  std::vector<std::uint8_t> unmarked = stamped;
  unmarked[0] = 0;
  Reg().placedExtendedMemory.Place(kJournalBlock, unmarked);
  std::string text;
  EXPECT_EQ(Item(21, text), 21);

  first[4] = 9;  // k above m: the block would lie below address 0
  Reg().placedExtendedMemory.Place(0, first);
  EXPECT_EQ(Item(21, text), 21);

  config.SetNumber(Area::IdentityBlock, 23, 2, 0);
  EXPECT_EQ(Text(21), "");
}

INSTANTIATE_TEST_SUITE_P(Models, InfoEnquiryBlocks, ::testing::Values("t72"));

}  // namespace
}  // namespace quadrel
