// Command 121: the XML documents of the simulated register's store copied
// into files (checked with a real parser), the ranges and the skip rule, and
// the two forms that drive the register instead.
#include "commands/xml/xml_download.h"

#include <expat.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "definition_text.h"
#include "file_text.h"
#include "run/command_executor.h"
#include "sim_command_fixture.h"
#include "simulator.h"
#include "translator_fixture.h"

namespace quadrel {
namespace {

namespace fs = std::filesystem;

std::string Totals(int day) {
  return "<?xml version=\"1.0\"?><DatiCorrispettivi><Giorno>" + std::to_string(day) +
         "</Giorno><Totale>12.50</Totale></DatiCorrispettivi>";
}
std::string Outcome(int day) {
  return "<?xml version=\"1.0\"?><Esito><Giorno>" + std::to_string(day) +
         "</Giorno><Stato>OK</Stato></Esito>";
}

class XmlDownload : public SimCommandTest {
 protected:
  void SetUp() override {
    SimCommandTest::SetUp();
    startDir_ = fs::current_path();
    dir_ = fs::temp_directory_path() / ("quadrel-xml-" + std::to_string(getpid()));
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    fs::current_path(dir_);
  }
  void TearDown() override {
    fs::current_path(startDir_);
    fs::remove_all(dir_);
    SimCommandTest::TearDown();
  }

  // Documents 998 to 1000: the first with its outcome, the second without,
  // the third an outcome only.
  void FillStore() {
    ecrsim::XmlStore& store = host_.sim.Find(1)->xmlStore;
    store.SetOldestIndex(998);
    store.Add({Totals(998), Outcome(998), {}});
    store.Add({Totals(999), "", {}});
    store.Add({"", Outcome(1000), {}});
  }
  // The names in the working folder, sorted, each followed by a blank.
  static std::string Files() {
    std::vector<std::string> sorted;
    for (const auto& entry : fs::directory_iterator(fs::current_path()))
      sorted.push_back(entry.path().filename());
    std::sort(sorted.begin(), sorted.end());
    std::string names;
    for (const std::string& name : sorted) names += name + " ";
    return names;
  }
  static bool WellFormed(const std::string& text) {
    XML_Parser parser = XML_ParserCreate(nullptr);
    const bool ok = XML_Parse(parser, text.data(), static_cast<int>(text.size()), 1) == XML_STATUS_OK;
    XML_ParserFree(parser);
    return ok;
  }

  fs::path startDir_, dir_;
};

TEST_F(XmlDownload, ARangeFromBeforeTheOldestWritesEveryStoredDocumentWellFormed) {
  FillStore();
  ASSERT_EQ(TradExecCommand("#121 #3=1, #4=1000"), 0);
  EXPECT_EQ(Files(), "corrispettivi_0998.xml corrispettivi_0999.xml esito_0998.xml esito_1000.xml ");
  EXPECT_EQ(quadrel_test::FileText("corrispettivi_0998.xml"), Totals(998));
  EXPECT_EQ(quadrel_test::FileText("esito_1000.xml"), Outcome(1000));
  for (const auto& entry : fs::directory_iterator(fs::current_path()))
    EXPECT_TRUE(WellFormed(quadrel_test::FileText(entry.path().string()))) << entry.path();
}

TEST_F(XmlDownload, TheSkipRuleKeepsOnlyTheOutcomeOfADocumentThatHasOne) {
  FillStore();
  ASSERT_EQ(TradExecCommand("#121 #3=998, #4=999, #5"), 0);
  EXPECT_EQ(Files(), "corrispettivi_0999.xml esito_0998.xml ");
}

TEST_F(XmlDownload, RangesOutsideTheStoreOrAnEmptyStoreWriteNothing) {
  ASSERT_EQ(TradExecCommand("#121 #3=1, #4=5"), 0);  // nothing stored
  FillStore();
  ASSERT_EQ(TradExecCommand("#121 #3=1001, #4=2000"), 0);
  ASSERT_EQ(TradExecCommand("#121 #3=1, #4=997"), 0);
  EXPECT_EQ(Files(), "");
  ASSERT_EQ(TradExecCommand("#121 #3=999"), 0);
  EXPECT_EQ(Files(), "corrispettivi_0999.xml ");
}

TEST_F(XmlDownload, AMissingOrWrongRangeAnswers9) {
  for (const char* fields : {"", "#4=3", "#3=0", "#3=5, #4=4", "#3='x'", "#3=1, #4=70000"}) {
    EXPECT_EQ(TradExecCommand(std::string("#121 ") + fields), 9) << fields;
  }
}

TEST_F(XmlDownload, AFileThatCannotBeWrittenAnswers11) {
  FillStore();
  fs::create_directory("esito_0998.xml");
  EXPECT_EQ(TradExecCommand("#121 #3=998, #4=1000"), 11);
  EXPECT_EQ(Files(), "corrispettivi_0998.xml esito_0998.xml ");
}

TEST_F(XmlDownload, ALengthPastItsAreaIsNotCopied) {
  ecrsim::XmlStore& store = host_.sim.Find(1)->xmlStore;
  store.SetOldestIndex(1);
  store.Add({Totals(1), "", 8193});
  EXPECT_EQ(TradExecCommand("#121 #3=1"), kClassAnswerLetter | 'O');
  EXPECT_EQ(Files(), "");
}

TEST_F(XmlDownload, ReadFailuresReturnTheExchangeCode) {
  FillStore();
  host_.sim.Find(1)->AddFault({ecrsim::FaultKind::HostResult, 4, 7, 130});  // in the second block
  EXPECT_EQ(TradExecCommand("#121 #3=998, #4=999"), HostLinkError(7));
}

TEST_F(XmlDownload, TheSendFormReturnsTheFirstFailureOfItsThreeLines) {
  host_.sim.Find(1)->ClearLog();
  EXPECT_EQ(Run("#121 #6"), 0);
  EXPECT_GE(host_.FramesTo(1), 3);
  host_.sim.Find(1)->AddFault({ecrsim::FaultKind::HostResult, 4, 7, 0});
  EXPECT_EQ(Run("#121 #6"), HostLinkError(7));
}

class XmlNumber : public test_support::WithShippedDefinitions<TranslatorTest> {};

TEST_F(XmlNumber, TheNumberGoesLowByteFirstBeforeAnyOtherForm) {
  host.expect("S").answer(0, quadrel_test::status_idle());
  host.expect(quadrel_test::bytes({'O', 17, 0x34, 0x12})).answer(0, quadrel_test::bytes({'O', 0}));
  EXPECT_EQ(TradExecCommand("#121 #7=4660, #6, #3=1"), 0);
  host.expect("S").answer(0, quadrel_test::status_idle());
  EXPECT_EQ(TradExecCommand("#121 #7=65536"), kResultIllegalValue);
}

}  // namespace
}  // namespace quadrel
