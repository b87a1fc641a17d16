// Commands 120 and 75 end to end: the simulated register in-process, the
// mails through the Postfix peer, read back from its Maildir (skipped
// without root).
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "commands/mail/picture_library.h"
#include "commands/mail/receipt_mail.h"
#include "config/ecr_conf_texts.h"
#include "file_text.h"
#include "interfaces/registry.h"
#include "language/result_text.h"
#include "last_receipt_register.h"
#include "mail/closure/closure_run.h"
#include "mail/mail_test_peers.h"
#include "sim_command_fixture.h"
#include "state/ecr_config.h"
#include "text/text_helpers.h"
#include "totals_layout.h"

namespace quadrel {
namespace {

namespace fs = std::filesystem;

class MailCommandsPeer : public SimCommandTest {
 protected:
  void SetUp() override {
    if (fs::exists(SMTP_PEER_DIR "/skipped")) GTEST_SKIP() << "the Postfix peer needs root";
    peer_ = mail_test::ReadPeerValues(SMTP_PEER_DIR "/peer.env");
    ASSERT_FALSE(peer_.empty()) << "the Postfix peer is not up";
    mail_test::SetMailSetting("MailCAFile", peer_.at("CA_FILE"));
    SimCommandTest::SetUp();
    work_ = mail_test::FreshTestFolder();
    home_ = fs::current_path();
    fs::current_path(work_);
  }
  void TearDown() override {
    if (home_.empty()) return;
    fs::current_path(home_);
    fs::remove_all(work_);
    mail_test::ClearMailSettings();
    SimCommandTest::TearDown();
  }
  // The AUTH-only listener with STARTTLS, as command 120 names it.
  std::string ClosureServer() const {
    return "#4, #5='" + peer_.at("SASL_USER") + "', #6='" + peer_.at("SASL_PASSWORD") +
           "', #7='till@quadrel.test', #9='127.0.0.1', #10=" + peer_.at("PORT_AUTHONLY") + ", #11=1";
  }
  static std::string EcrId() { return EcrRecord(1).EcrId; }

  mail_test::PeerValues peer_;
  fs::path work_, home_;
};

TEST_F(MailCommandsPeer, AClosureMailReachesEveryListedRecipientWithItsSubjectAndBody) {
  ASSERT_EQ(Run("#120 " + ClosureServer() + ", #8='sink@quadrel.test;copy@quadrel.test;', #12='Cassa 2'"), 0);
  EXPECT_EQ(Reply().PendingReply.text, "OK");

  const std::string subject = "CHIUSURA FISCALE : MATRICOLA " + EcrId() + " AZZERAMENTO NR. 1";
  const auto messages = mail_test::WaitForMessages(peer_.at("MAILDIR"), "\nCassa 2\n", 2);
  ASSERT_EQ(messages.size(), 2u) << "one for each recipient";
  const std::string body = "In allegato i dati relativi alla chiusura fiscale\n" + EcrId() + " " +
                           EcrRecord(1).FirmwareName + "\nCassa 2\n";
  for (const std::string& message : messages) {
    EXPECT_NE(message.find("Subject: " + subject + "\n"), std::string::npos) << message;
    EXPECT_NE(message.find("X-Mailer: QDX ECR Velmora\n"), std::string::npos);
    EXPECT_NE(message.find(body), std::string::npos) << message;
    EXPECT_EQ(message.find("filename="), std::string::npos) << "no report asked for";
  }
}

// The mail goes before the daily closure: the closure clears the totals it reports.
TEST_F(MailCommandsPeer, ItsReportsAreTheWritersOutputForTheRegistersFilesThenRemoved) {
  quadrel_test::LayOutTotals(Reg(), 'T', 4);
  // A status text from which the rd report shows the journal's fill level.
  Reg().EditConfig().SetBytes(ecrsim::Area::SettingValues, 9, {0, 0, 0, 0});
  InvalidateAllEcrRecords();
  for (const char* line : {"CHIAVE R", "VENDITA REPARTO=1, PREZZO=12.20", "VENDITA REPARTO=1, PREZZO=2",
                           "VENDITA REPARTO=2, PREZZO=5.50", "PAGA"})
    ASSERT_EQ(Run(line), 0) << line;

  // What the writers make of the register's own files, dumped apart.
  ASSERT_EQ(Run("#3 #1=3, #2='vat.txt', #5"), 0);
  ASSERT_EQ(Run("#3 #1=99, #2='totals.txt'"), 0);
  ASSERT_EQ(Run("#71 #1=8"), 0);
  std::string closure;
  GetNthField(Reply().PendingReply.text, closure, 9, ',');
  ClosureRun expected;
  expected.registerId = EcrId();
  fs::create_directory("expected");
  expected.folder = "expected";
  expected.vatRates = LoadVatRates(quadrel_test::FileText("vat.txt"));
  RegisterClosureWriters(expected);
  const ClosureSelection rdAndRtlf = {true, false, true};
  const std::string status = SettingValuesText(CurrentRecord()).value_or("");
  ASSERT_EQ(RunClosureWriters(expected, quadrel_test::FileText("totals.txt"), status, closure, rdAndRtlf), 0);
  const std::vector<std::string> reports = ListClosureFiles(expected, rdAndRtlf);
  ASSERT_EQ(reports.size(), 2u);

  ASSERT_EQ(Run("#120 #1, #3, " + ClosureServer() + ", #8='sink@quadrel.test;', #12='rd e rtlf'"), 0);
  const auto messages = mail_test::WaitForMessages(peer_.at("MAILDIR"), "\nrd e rtlf\n", 1);
  ASSERT_EQ(messages.size(), 1u);
  for (const std::string& report : reports) {
    const std::string name = fs::path(report).filename().string();
    EXPECT_EQ(mail_test::AttachmentBytes(messages[0], name), quadrel_test::FileText(report)) << name;
    EXPECT_FALSE(fs::exists(name)) << name;
  }
  const std::string rd = quadrel_test::FileText(reports[0]);
  EXPECT_NE(rd.find("11,63"), std::string::npos) << "the sales reached the report";
  EXPECT_NE(rd.find("RIEMPIMENTO DGFE"), std::string::npos) << "so did the register's status";
}

TEST_F(MailCommandsPeer, AClosureMailNotSentSaysWhyInItsErrorText) {
  const std::string common = "#5='" + peer_.at("SASL_USER") +
                             "', #7='till@quadrel.test', #8='sink@quadrel.test;', #9='127.0.0.1', #11=1, ";
  const std::pair<std::string, const char*> cases[] = {
      {"#4, #6='" + peer_.at("SASL_PASSWORD") + "', #10=" + peer_.at("PORT_SELFSIGNED"), "TLS FAILED (414)"},
      {"#4, #6='wrong', #10=" + peer_.at("PORT_AUTHONLY"), "AUTHENTICATION FAILED ("},
      {"#6='" + peer_.at("SASL_PASSWORD") + "', #10=" + peer_.at("PORT_AUTHONLY"), "REFUSED BY THE SERVER (309)"},
  };
  for (const auto& [fields, reason] : cases) {
    const int code = Run("#120 " + common + fields);
    std::string text;
    FormatResultText(text, code);
    EXPECT_TRUE(text.starts_with(std::string("ERROR 2/0 : MAIL NOT SENT : ") + reason)) << text;
  }
}

TEST_F(MailCommandsPeer, AReceiptPictureGoesToTheDefaultServerWithAuthAndIsRemovedOnceSent) {
  ASSERT_TRUE(BindPictureLibrary(PICTOR_LIBRARY));
  mail_test::SetLastReceipt(Reg(), 42);
  ASSERT_EQ(Run("INFO VOCE=14"), 0);
  mail_test::SetMailSetting(registry::kMailServer, "127.0.0.1");
  const std::string line =
      "#75 #3, #4='" + peer_.at("SASL_USER") + "', #5='" + peer_.at("SASL_PASSWORD") +
      "', #6='till@quadrel.test', #7='sink@quadrel.test', #9=" + peer_.at("PORT_AUTHONLY") +
      ", #10=1, #11='answer.txt', #12='+3905512'";
  ASSERT_EQ(Run(line), 0);
  EXPECT_EQ(quadrel_test::FileText("answer.txt"), "OK\r\n");
  EXPECT_FALSE(fs::exists("+3905512_.bmp"));
  EXPECT_EQ(MailPhoneNumber(), "");

  const auto messages = mail_test::WaitForMessages(peer_.at("MAILDIR"), "X-Mailer: ECR Velmora\n", 1);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_NE(messages[0].find("\n+3905512\n"), std::string::npos) << messages[0];
  const std::string picture = mail_test::AttachmentBytes(messages[0], "+3905512_.bmp");
  ASSERT_GT(picture.size(), 54u);
  EXPECT_EQ(picture.substr(0, 2), "BM");
  EXPECT_EQ(picture[28], 24) << "a 24-bit bitmap";
}

}  // namespace
}  // namespace quadrel
