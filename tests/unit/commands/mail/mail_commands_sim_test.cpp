// Commands 122, 75 and 120 against the simulated register where no mail
// leaves: refusals before anything runs, the nested lines' failures, the
// answer file and the telephone number, a server that cannot be reached.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "commands/mail/picture_library.h"
#include "commands/mail/receipt_mail.h"
#include "file_text.h"
#include "language/result_text.h"
#include "last_receipt_register.h"
#include "mail/closure/closure_run.h"
#include "mail/mail_test_peers.h"
#include "sample_receipt.h"
#include "sim_command_fixture.h"
#include "state/ecr_config.h"
#include "text/text_helpers.h"
#include "totals_layout.h"

namespace quadrel {
namespace {

namespace fs = std::filesystem;

std::vector<std::vector<std::string>> drawings;

int QUADREL_CALL RecordDrawing(const char* a1, const char* a2, const char* a3, const char* a4, const char* a5,
                               const char* a6, const char* a7, const char* a8, const char* a9,
                               const char* a10, const char* a11, const char* a12) {
  drawings.push_back({a1, a2, a3, a4, a5, a6, a7, a8, a9, a10, a11, a12});
  return 0;
}

class MailCommandsSim : public SimCommandTest {
 protected:
  void SetUp() override {
    SimCommandTest::SetUp();
    mail_test::SetLastReceipt(Reg(), 42);
    ASSERT_EQ(Run("INFO VOCE=14"), 0);  // reads the record again with the counter's address
    work_ = mail_test::FreshTestFolder();
    home_ = fs::current_path();
    fs::current_path(work_);
    UsePictureDrawer(&RecordDrawing);
    drawings.clear();
  }
  void TearDown() override {
    fs::current_path(home_);
    fs::remove_all(work_);
    SimCommandTest::TearDown();
  }
  fs::path work_, home_;
};

std::string ResultText(int code) {
  std::string text;
  FormatResultText(text, code);
  return text;
}

const std::string kMailReceipt =
    "#75 #3, #4='tim', #5='secret', #6='till@quadrel.test', #7='sink@quadrel.test', #11='answer.txt'";

TEST_F(MailCommandsSim, TheLastReceiptOrAnEarlierOneIsDrawnUnderItsNumber) {
  const struct {
    const char* line;
    const char* picture;
  } cases[] = {{"#122", "0042.bmp"},
               {"#122 #2='pic'", "pic.0042"},
               {"#122 #1=0", "0042.bmp"},
               {"#122 #1=7, #2='pic'", "pic.7"}};
  for (const auto& c : cases) {
    drawings.clear();
    ASSERT_EQ(Run(c.line), 0) << c.line;
    ASSERT_EQ(drawings.size(), 1u) << c.line;
    EXPECT_EQ(drawings[0][1], c.picture);
  }
  EXPECT_EQ(Reply().PendingReply.text, "OK");
  const std::vector<std::string> arguments = {
      "dumplastsco.txt",        "pic.7", EcrRecord(1).EcrId, "4", "headder.txt", "", "", "", "", "", "",
      EcrRecord(1).FirmwareName};
  EXPECT_EQ(drawings[0], arguments) << "the header dump's fields as they stand";
  EXPECT_NE(quadrel_test::FileText("headder.txt"), "");
}

TEST_F(MailCommandsSim, ThePictureIsDrawnFromTheReceiptsJournalLines) {
  host_.pumpEvents = true;  // the journal report's echo fills the work file
  for (const char* line : quadrel_test::kSampleReceiptLines) ASSERT_EQ(Run(line), 0) << line;
  mail_test::SetLastReceipt(Reg(), 1);
  ASSERT_EQ(Run("#122"), 0);
  ASSERT_EQ(drawings.size(), 1u);
  EXPECT_EQ(quadrel_test::FileText(drawings[0][0]),
            quadrel_test::WithCrLf(quadrel_test::kSampleReceiptPrinted));
}

TEST_F(MailCommandsSim, ValuesTheCommandsCannotTakeAreRefusedWithNothingDrawnOrAnswered) {
  const std::string longText(255, 'u');
  for (const std::string& line : std::vector<std::string>{
           "#122 #1=43", "#122 #1='5x'", "#122 #1=123456789012", "#122 #2='" + std::string(244, 'p') + "'",
           kMailReceipt + ", #10=4, #12=123", kMailReceipt + ", #9=0, #12=123", kMailReceipt + ", #12='12a'",
           kMailReceipt + ", #12='123456789012345678901'", kMailReceipt + ", #8='" + longText + "', #12=1",
           "#120 #11='-1'", "#120 #10=65536"}) {
    EXPECT_EQ(Run(line), 265) << line;
    EXPECT_TRUE(drawings.empty()) << line;
    EXPECT_FALSE(fs::exists("answer.txt")) << line;
    EXPECT_EQ(MailPhoneNumber(), "") << line;
  }
}

TEST_F(MailCommandsSim, TheTelephoneNumberIsNeededKeptWhenTheRegisterFailsAndEmptiedByAMissingParameter) {
  EXPECT_EQ(Run(kMailReceipt), 283);
  EXPECT_EQ(quadrel_test::FileText("answer.txt"), "") << "created, nothing written";

  Reg().EditConfig().SetNumber(ecrsim::Area::IdentityBlock, 2, 1, 0);  // item 10 without its number
  EXPECT_EQ(Run(kMailReceipt + ", #12='+39055123'"), 265);
  EXPECT_EQ(MailPhoneNumber(), "+39055123") << "kept for the next try";
  EXPECT_TRUE(drawings.empty());

  const int code =
      Run("#75 #3, #5='secret', #6='till@quadrel.test', #7='sink@quadrel.test', #11='answer.txt', #12=1");
  EXPECT_EQ(code, 512) << "a batch sees the mail that did not go";
  EXPECT_EQ(ResultText(code), "ERROR 2/0 : MAIL NOT SENT : PARAMETERS MISSING");
  EXPECT_EQ(quadrel_test::FileText("answer.txt"), "KO\r\n");
  EXPECT_EQ(MailPhoneNumber(), "");
}

TEST_F(MailCommandsSim, AClosureMailThatCannotReachItsServerLeavesNoReportBehind) {
  quadrel_test::LayOutTotals(Reg(), 'T', 4);
  InvalidateAllEcrRecords();
  const int code =
      Run("#120 #1, #3, #7='till@quadrel.test', #8='sink@quadrel.test;', #9='127.0.0.1', #10=1, #11=0");
  EXPECT_EQ(code, 512);
  EXPECT_EQ(Reply().PendingReply.text, "KO");
  EXPECT_TRUE(ResultText(code).starts_with("ERROR 2/0 : MAIL NOT SENT : SERVER UNREACHABLE (")) << ResultText(code);
  for (const auto& entry : fs::directory_iterator(work_))
    EXPECT_EQ(entry.path().filename().string().find(EcrRecord(1).EcrId), std::string::npos) << entry.path();
}

// Without a mail, "CLOSURE REPORTS INCOMPLETE" and no report; a mail tried
// would say why it failed (the server is unreachable).
TEST_F(MailCommandsSim, AClosureWhoseDumpOrReportFailsSendsNoMailAndLeavesNoReport) {
  quadrel_test::LayOutTotals(Reg(), 'T', 4);
  InvalidateAllEcrRecords();
  const std::string line =
      "#120 #1, #2, #3, #7='till@quadrel.test', #8='sink@quadrel.test;', #9='127.0.0.1', #10=1, #11=0";
  for (int run = 0; run < 2; ++run) {  // the first reads what later runs keep
    Reg().ClearLog();
    ASSERT_TRUE(ResultText(Run(line)).find("SERVER UNREACHABLE") != std::string::npos);
  }
  const int frames = static_cast<int>(Reg().Log().size());

  // The rd report's name, from the totals file the runs left.
  ASSERT_EQ(Run("#71 #1=8"), 0);
  std::string closure;
  GetNthField(Reply().PendingReply.text, closure, 9, ',');
  ClosureRun probe;
  probe.registerId = EcrRecord(1).EcrId;
  probe.folder = "probe";
  fs::create_directory(probe.folder);
  RegisterClosureWriters(probe);
  RunClosureWriters(probe, quadrel_test::FileText("TOTEMAIL.DAT"), "", closure, {true, false, false});
  const fs::path rd = fs::path(ListClosureFiles(probe, {true, false, false}).at(0)).filename();
  fs::remove_all(probe.folder);

  const std::pair<const char*, std::function<void()>> failures[] = {
      {"a register error late in the totals dump",
       [&] { Reg().AddFault({ecrsim::FaultKind::AnswerLetter, 'Z', 0, frames - 5}); }},
      {"an rd report that cannot be created", [&] { fs::create_directory(rd); }},
  };
  for (const auto& [what, fail] : failures) {
    fail();
    const int code = Run(line);
    EXPECT_EQ(ResultText(code), "ERROR 2/0 : MAIL NOT SENT : CLOSURE REPORTS INCOMPLETE") << what;
    EXPECT_EQ(Reply().PendingReply.text, "KO") << what;
    EXPECT_EQ(Reg().PendingFaults(), 0u) << what;
    for (const auto& entry : fs::directory_iterator(work_))
      EXPECT_FALSE(entry.is_regular_file() && entry.path().filename().string().starts_with(probe.registerId))
          << what << ": " << entry.path();
  }
}

}  // namespace
}  // namespace quadrel
