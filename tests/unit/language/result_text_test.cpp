#include "language/result_text.h"

#include <gtest/gtest.h>

#include <string>

#include "definition_text.h"
#include "language/definition_tables.h"
#include "language/message_tables.h"
#include "language/result_codes.h"
#include "state/transfer_state.h"

namespace quadrel {
namespace {

class ResultTextTest : public ::testing::Test {
 protected:
  void SetUp() override { Reset(); }
  void TearDown() override {
    Reset();
    ClearDefinitionTables();
  }
  static void Reset() {
    WriteDefaultMessageTexts();
    Reply() = ReplyState{};
    Transfer() = TransferState{};
  }

  static std::string Text(int code) {
    std::string text = "stale";
    FormatResultText(text, code);
    return text;
  }
};

TEST_F(ResultTextTest, TextsOfEveryClass) {
  Transfer().TransferErrorCount = 3;
  Transfer().TransferEcrErrorCount = 2;
  const struct {
    int code;
    const char* text;
  } cases[] = {
      {0, "OK."},
      {14, "ERROR 0/14 : ERRORS DURING EXECUTION OF FILE"},
      {257, "ERROR 1/1 : SINTAX ERROR 1 : INSTRUCTION NOT FOUND"},
      {274,
       "ERROR 1/18 : SINTAX ERROR 18 : SOURCE LINE TOO LONG"},  // Ravelin gives its own refusal this text
      {515, "ERROR 2/3 : I/O ERROR 3"},
      {1024, "ERROR 4/0 : ECR SIGNALS CRITICAL ERROR 0 : ECR SIGNALS CRITICAL ERROR "},
      {2055, "ERROR 8/7 : ECR REPORTS DATA-ERROR 7"},
      {4118, "ERROR 16/22 : ECR REPORTS ERROR 22"},
      {8193, "ERROR 32/1 : ERRORS DURING EXECUTION (3 Errors   2 ECR-Errors)"},
      {0x2000 + 3, "ERROR 32/3 : EM_LINK ERROR  : FILE OPEN "},
      {0x4000 + 4, "ERROR 64/4 : SYNTAX ERROR  : NOT NUMERIC FIELD "},
      {0x8000 + 9, "ERROR 128/9 : ECR REPORTS ERROR 9"},
      {65619, "ERROR 256/83 : INCORRECT ANSWER FOR ECR S"},
      {0x10000, "ERROR 256/0 : INCORRECT ANSWER FOR ECR "},
      {0x100000 + 5, "ERROR 4096/5 : "},
      {0x200 + 300, "ERROR 3/44 : "},  // a host code above 255 spills into the class
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Text(c.code), c.text) << c.code;
  }
}

TEST_F(ResultTextTest, RowsBeyondATableShowNoText) {
  EXPECT_EQ(Text(0x100 + 40), "ERROR 1/40 : SINTAX ERROR 40 : ");
  EXPECT_EQ(Text(42), "ERROR 0/42 : ");
  EXPECT_EQ(Text(200), "ERROR 0/200 : ");
}

TEST_F(ResultTextTest, NonOkIsAppended) {
  std::string text = "ECR 3: ";
  FormatResultText(text, kResultNonOk);
  EXPECT_EQ(text, "ECR 3: NON OK. ");
}

TEST_F(ResultTextTest, BatchLineIsNamedOnce) {
  Reply().BatchLineError = {true, 5};
  EXPECT_EQ(Text(257), "ERROR 1/1 in line 5 : SINTAX ERROR 1 : INSTRUCTION NOT FOUND");
  EXPECT_EQ(Text(257), "ERROR 1/1 : SINTAX ERROR 1 : INSTRUCTION NOT FOUND");
}

TEST_F(ResultTextTest, BatchLineWinsOverTransferLineAndBothAreCleared) {
  Reply().TransferLineError = {true, 40};
  EXPECT_EQ(Text(0x4000), "ERROR 64/0 in line 40 : SYNTAX ERROR  : SYNTAX ERROR ");
  EXPECT_FALSE(Reply().TransferLineError.set);

  Reply().BatchLineError = {true, 2};
  Reply().TransferLineError = {true, 40};
  EXPECT_EQ(Text(11), "ERROR 0/11 in line 2 : FILE OPEN ERROR");
  EXPECT_FALSE(Reply().BatchLineError.set);
  EXPECT_FALSE(Reply().TransferLineError.set);
}

TEST_F(ResultTextTest, SuccessLeavesTheLineMarksAlone) {
  Reply().BatchLineError = {true, 7};
  EXPECT_EQ(Text(0), "OK.");
  EXPECT_EQ(Text(14), "ERROR 0/14 in line 7 : ERRORS DURING EXECUTION OF FILE");
}

TEST_F(ResultTextTest, PendingMessageReplacesOneSuccessText) {
  Reply().PendingMessage = {"MESSAGE SHOWN", true};
  EXPECT_EQ(Text(3), "ERROR 0/3 : 'PROG' SESSION OPEN ") << "a failure does not consume it";
  EXPECT_EQ(Text(0), "MESSAGE SHOWN");
  EXPECT_EQ(Text(0), "OK.");
  EXPECT_TRUE(Reply().PendingMessage.text.empty());
}

TEST_F(ResultTextTest, PendingMessageComesBeforeThePendingReply) {
  Reply().PendingMessage = {"MESSAGE", true};
  Reply().PendingReply = {"12345", true};
  EXPECT_EQ(Text(0), "MESSAGE");
  EXPECT_EQ(Text(0), "12345");
  EXPECT_EQ(Text(0), "OK.");
}

TEST_F(ResultTextTest, ReplyExtraIsAppendedOnce) {
  Reply().ReplyExtra = " ECR 2";
  EXPECT_EQ(Text(0), "OK. ECR 2");
  EXPECT_EQ(Text(0), "OK.");
}

TEST_F(ResultTextTest, TransferStatisticsWhileTheFlagIsSet) {
  Reply().ReplyExtra = IntMsgTable().Row(kMsgAborted);
  Reply().TransferStats = {true, 120, 3456};
  EXPECT_EQ(Text(0), "OK. *** ABORTED BY USER *** (120 Lines   3456 msec)");
  EXPECT_EQ(Text(0), "OK.(120 Lines   3456 msec)");
  Reply().TransferStats.set = false;
  EXPECT_EQ(Text(0), "OK.");
}

TEST_F(ResultTextTest, ReplacedRowsAppearInLaterTexts) {
  ASSERT_TRUE(test_support::LoadDefinitionText(
      "[INTMSG]\n1='TUTTO OK'\n3='ERRORE '\n[ERRMSG1]\n1=ISTRUZIONE SCONOSCIUTA\n"));
  EXPECT_EQ(Text(0), "TUTTO OK");
  EXPECT_EQ(Text(257), "ERRORE 1/1 : SINTAX ERROR 1 : ISTRUZIONE SCONOSCIUTA");
  WriteDefaultMessageTexts();
  EXPECT_EQ(Text(257), "ERROR 1/1 : SINTAX ERROR 1 : INSTRUCTION NOT FOUND");
}

}  // namespace
}  // namespace quadrel
