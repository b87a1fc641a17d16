// The session against a real server: the private Postfix with Cyrus SASL of
// the smtp_peer fixture (skipped when it could not start without root).
#include <gtest/gtest.h>

#include <filesystem>

#include "mail/mail_test_peers.h"
#include "mail/smtp/smtp_client.h"

namespace quadrel {
namespace {

class SmtpPeer : public testing::Test {
 protected:
  void SetUp() override {
    if (std::filesystem::exists(SMTP_PEER_DIR "/skipped")) GTEST_SKIP() << "the Postfix peer needs root";
    peer_ = mail_test::ReadPeerValues(SMTP_PEER_DIR "/peer.env");
    ASSERT_FALSE(peer_.empty()) << "the Postfix peer is not up";
    mail_test::SetMailSetting("MailCAFile", peer_.at("CA_FILE"));
  }
  void TearDown() override { mail_test::ClearMailSettings(); }

  int Open(const std::string& listener, int security, const std::string& password,
           const std::string& host = "127.0.0.1") {
    auto port = static_cast<std::uint16_t>(std::stoi(peer_.at("PORT_" + listener)));
    return mail_test::SmtpCodeOf(
        [&] { smtp_.OpenSession(host, port, security, true, peer_.at("SASL_USER"), password); });
  }
  int Open(const std::string& listener, int security) {
    return Open(listener, security, peer_.at("SASL_PASSWORD"));
  }

  // The server's own summary of a connection whose STARTTLS failed
  // ("disconnect from ... ehlo=1 starttls=0/1 commands=1/2").
  std::string FailedTlsSummary(const std::string& listener) {
    return mail_test::WaitForLine(peer_.at("MAILLOG"), "peer-" + listener + "/smtpd[", " starttls=0/1");
  }

  mail_test::PeerValues peer_;
  CSmtp smtp_;
};

TEST_F(SmtpPeer, EachMechanismOnItsOwnListenerEndsIn235) {
  for (const char* listener : {"LOGIN", "PLAIN", "CRAM", "DIGEST"}) {
    EXPECT_EQ(Open(listener, kSmtpPlain), 0) << listener;
    EXPECT_TRUE(smtp_.LastReply().starts_with("235 ")) << listener << ": " << smtp_.LastReply();
    smtp_.CloseConnection();
  }
}

TEST_F(SmtpPeer, WrongPasswordFailsWithTheMechanismsCode) {
  const std::pair<const char*, int> cases[] = {
      {"LOGIN", 406}, {"CRAM", 406}, {"PLAIN", 302}, {"DIGEST", 306}};
  for (const auto& [listener, code] : cases) EXPECT_EQ(Open(listener, kSmtpPlain, "wrong"), code) << listener;
}

TEST_F(SmtpPeer, ImplicitTlsAuthenticatesWithTheServersName) {
  EXPECT_EQ(Open("IMPLICIT", kSmtpImplicitTls, peer_.at("SASL_PASSWORD"), "localhost"), 0);
  EXPECT_TRUE(smtp_.LastReply().starts_with("235 "));
}

TEST_F(SmtpPeer, AuthOfferedOnlyAfterStartTlsIsFoundInTheSecondEhlo) {
  EXPECT_EQ(Open("TLSAUTH", kSmtpPlain), 0);
  EXPECT_TRUE(smtp_.LastReply().starts_with("250")) << "no AUTH before STARTTLS";
  smtp_.CloseConnection();
  EXPECT_EQ(Open("TLSAUTH", kSmtpStartTls), 0);
  EXPECT_TRUE(smtp_.LastReply().starts_with("235 "));
}

TEST_F(SmtpPeer, UnknownCaOrWrongNameFailsWith414BeforeAnyCredential) {
  for (const char* listener : {"SELFSIGNED", "WRONGNAME"}) {
    EXPECT_EQ(Open(listener, kSmtpStartTls), 414) << listener;
    std::string name = listener;
    for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    std::string summary = FailedTlsSummary(name);
    EXPECT_NE(summary.find("disconnect from"), std::string::npos) << summary;
    EXPECT_EQ(summary.find("auth="), std::string::npos) << summary;
  }
}

TEST_F(SmtpPeer, StartTlsWithTheTestCaPasses) {
  EXPECT_EQ(Open("STARTTLS", kSmtpStartTls), 0);
}

TEST_F(SmtpPeer, CheckTurnedOffAcceptsAnUnknownCa) {
  mail_test::SetMailSetting("MailTlsVerify", "0");
  EXPECT_EQ(Open("SELFSIGNED", kSmtpStartTls), 0);
}

}  // namespace
}  // namespace quadrel
