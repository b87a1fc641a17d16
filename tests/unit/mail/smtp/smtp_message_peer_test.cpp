// Messages through a real server: the Postfix peer delivers them into its
// Maildir, where the tests read them back (skipped without root).
#include <gtest/gtest.h>

#include <filesystem>

#include "file_text.h"
#include "mail/mail_test_peers.h"
#include "mail/smtp/smtp_client.h"

namespace quadrel {
namespace {

namespace fs = std::filesystem;

constexpr std::size_t kFiveMegabytes = 5242880;

class SmtpMessagePeer : public testing::Test {
 protected:
  void SetUp() override {
    if (fs::exists(SMTP_PEER_DIR "/skipped")) GTEST_SKIP() << "the Postfix peer needs root";
    peer_ = mail_test::ReadPeerValues(SMTP_PEER_DIR "/peer.env");
    ASSERT_FALSE(peer_.empty()) << "the Postfix peer is not up";
    mail_test::SetMailSetting("MailCAFile", peer_.at("CA_FILE"));
    files_ = mail_test::FreshTestFolder();
  }
  void TearDown() override {
    mail_test::ClearMailSettings();
    fs::remove_all(files_);
  }

  // A client for a listener with STARTTLS, from till@quadrel.test to the
  // peer's mailbox.
  void Address(CSmtp& smtp, const std::string& listener, const std::string& subject) {
    smtp.SetServerEndpoint("127.0.0.1", static_cast<std::uint16_t>(std::stoi(peer_.at("PORT_" + listener))),
                           true);
    smtp.SetSecurityType(kSmtpStartTls);
    smtp.SetAuthUser(peer_.at("SASL_USER"));
    smtp.SetAuthSecret(peer_.at("SASL_PASSWORD"));
    smtp.SetFromAddress("till@quadrel.test");
    smtp.AddToRecipient(peer_.at("MAILBOX").c_str(), "Sink");
    smtp.SetSubjectLine(subject);
  }

  std::string File(const std::string& name, std::size_t size, char seed) {
    return mail_test::WriteFile((files_ / name).string(), size, seed);
  }

  std::vector<std::string> Delivered(const std::string& subject, std::size_t count) const {
    return mail_test::WaitForMessages(peer_.at("MAILDIR"), "Subject: " + subject + "\n", count);
  }

  mail_test::PeerValues peer_;
  fs::path files_;
};

TEST_F(SmtpMessagePeer, BodyLinesAndTwoBitmapsArriveTwiceOverOneSession) {
  CSmtp smtp;
  Address(smtp, "CRAM", "Two bitmaps");
  smtp.AppendBodyLine(".");
  smtp.AppendBodyLine(".x");
  const std::string first = File("first.bmp", 1000, 1);
  const std::string second = File("second.bmp", 54 * 20, 2);
  smtp.AttachFile(first);
  smtp.AttachFile(second);
  EXPECT_EQ(mail_test::SmtpCodeOf([&] { smtp.TransmitMessage(); }), 0);
  EXPECT_EQ(mail_test::SmtpCodeOf([&] { smtp.TransmitMessage(); }), 0) << "the same session sends it again";
  smtp.CloseConnection();

  EXPECT_NE(
      mail_test::WaitForLine(peer_.at("MAILLOG"), "peer-cram/smtpd[", "auth=1 mail=2 rcpt=2 data=2 quit=1"),
      "");
  std::vector<std::string> messages = Delivered("Two bitmaps", 2);
  ASSERT_EQ(messages.size(), 2u);
  for (const std::string& message : messages) {
    EXPECT_NE(message.find("Content-Transfer-Encoding: 7bit\n\n.\n.x\n--"), std::string::npos) << message;
    EXPECT_EQ(mail_test::AttachmentBytes(message, "first.bmp"), quadrel_test::FileText(first));
    EXPECT_EQ(mail_test::AttachmentBytes(message, "second.bmp"), quadrel_test::FileText(second));
  }
}

TEST_F(SmtpMessagePeer, FiveMegabytesArriveWholeAndOneByteMoreIsRefused) {
  const std::string big = File("big.bmp", kFiveMegabytes, 3);
  CSmtp tooLarge;
  Address(tooLarge, "STARTTLS", "Too large");
  tooLarge.AttachFile(big);
  tooLarge.AttachFile(File("1024.bmp", 1024, 4));
  EXPECT_EQ(mail_test::SmtpCodeOf([&] { tooLarge.TransmitMessage(); }), 405);

  CSmtp smtp;
  Address(smtp, "STARTTLS", "Five megabytes");
  const std::string rest = File("1023.bmp", 1023, 5);
  smtp.AttachFile(big);
  smtp.AttachFile(rest);
  EXPECT_EQ(mail_test::SmtpCodeOf([&] { smtp.TransmitMessage(); }), 0);
  std::vector<std::string> messages = Delivered("Five megabytes", 1);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_TRUE(mail_test::AttachmentBytes(messages[0], "big.bmp") == quadrel_test::FileText(big));
  EXPECT_EQ(mail_test::AttachmentBytes(messages[0], "1023.bmp"), quadrel_test::FileText(rest));
  EXPECT_TRUE(Delivered("Too large", 0).empty());
}

}  // namespace
}  // namespace quadrel
