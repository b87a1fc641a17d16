// The session against servers that misbehave on purpose (the fault server):
// each case has its own listener and log of what the server received.
#include <gtest/gtest.h>

#include "mail/mail_test_peers.h"
#include "mail/smtp/base64.h"
#include "mail/smtp/smtp_client.h"

namespace quadrel {
namespace {

using std::string_literals::operator""s;

class SmtpFaults : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    // 10 ms for each second of the step time-outs: a silent server fails in 3 s.
    ScaleSmtpWaitsForTests(10);
  }
  static void TearDownTestSuite() { ScaleSmtpWaitsForTests(1000); }

  void SetUp() override {
    ports_ = mail_test::ReadPeerValues(SMTP_FAULTS_DIR "/faults.env");
    ASSERT_FALSE(ports_.empty()) << "the fault server is not up";
  }

  // Opens a session on a case's listener; the ECSmtp code it ends in, or 0.
  int Open(const std::string& scenario, int security = kSmtpPlain) {
    scenario_ = scenario;
    std::string upper = scenario;
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    auto port = static_cast<std::uint16_t>(std::stoi(ports_.at("PORT_" + upper)));
    return mail_test::SmtpCodeOf(
        [&] { smtp_.OpenSession("127.0.0.1", port, security, true, "tim", "secret"); });
  }

  // What the server received, once the connection has ended.
  std::string ServerSaw() {
    smtp_.CloseConnection();
    return mail_test::WaitForLog(SMTP_FAULTS_DIR "/" + scenario_ + ".log", "<closed>");
  }

  mail_test::PeerValues ports_;
  std::string scenario_;
  CSmtp smtp_;
};

TEST_F(SmtpFaults, GreetingOf554FailsWith402WithoutQuit) {
  EXPECT_EQ(Open("greeting_554"), 402);
  EXPECT_EQ(ServerSaw(), "<closed>\n");
}

TEST_F(SmtpFaults, EhloInSeveralChunksIsReadWholeAndLoginHidesCredentials) {
  testing::internal::CaptureStderr();
  EXPECT_EQ(Open("chunked_ehlo"), 0);
  std::string trace = testing::internal::GetCapturedStderr();
  EXPECT_EQ(ServerSaw(), "EHLO " + smtp_.HostNameText() + "\nAUTH LOGIN\n" + Base64Encode("tim") + "\n" +
                             Base64Encode("secret") + "\nQUIT\n<closed>\n");
  EXPECT_NE(trace.find("250-AUTH LOGIN PLAIN\r\n250 HELP"), std::string::npos) << trace;
  EXPECT_NE(trace.find("AUTH LOGIN\n334 VXNlcm5hbWU6\n<hidden>\n334 UGFzc3dvcmQ6\n<hidden>\n235"),
            std::string::npos)
      << trace;
}

TEST_F(SmtpFaults, AuthEqualsLoginOffersLogin) {
  EXPECT_EQ(Open("auth_equals"), 0);
  EXPECT_NE(ServerSaw().find("\nAUTH LOGIN\n"), std::string::npos);
}

TEST_F(SmtpFaults, LookalikeWordsOfferNoAuthentication) {
  EXPECT_EQ(Open("auth_lookalikes"), 0);
  EXPECT_TRUE(smtp_.Connected());
  EXPECT_EQ(ServerSaw().find("AUTH"), std::string::npos);
}

TEST_F(SmtpFaults, PlainSendsItsInitialResponseAwaits235AndHidesIt) {
  testing::internal::CaptureStderr();
  EXPECT_EQ(Open("plain_only"), 0);
  std::string trace = testing::internal::GetCapturedStderr();
  EXPECT_NE(ServerSaw().find("\nAUTH PLAIN " + Base64Encode("\0tim\0secret"s) + "\n"), std::string::npos);
  EXPECT_NE(trace.find("AUTH PLAIN <hidden>\n235"), std::string::npos) << trace;
}

TEST_F(SmtpFaults, GssapiOnlyFailsWith417AndQuits) {
  EXPECT_EQ(Open("gssapi_only"), 417);
  EXPECT_NE(ServerSaw().find("\nQUIT\n"), std::string::npos);
}

TEST_F(SmtpFaults, Reply530AtAuthenticationEndsWithoutQuit) {
  EXPECT_EQ(Open("auth_530"), 303);
  EXPECT_EQ(ServerSaw().find("QUIT"), std::string::npos);
}

TEST_F(SmtpFaults, DroppedConnectionFailsWith400) {
  EXPECT_EQ(Open("dropped"), 400);
}

TEST_F(SmtpFaults, SilentServerFailsWith402) {
  EXPECT_EQ(Open("silent"), 402);
}

TEST_F(SmtpFaults, AReplyTrickledByteByBytePastItsWaitFailsWith402) {
  EXPECT_EQ(Open("trickle"), 402);  // 8 s of bytes half a second apart, against a wait of 3 s
}

TEST_F(SmtpFaults, PlainReplyOver10239BytesFailsWith408) {
  EXPECT_EQ(Open("huge_ehlo"), 408);
}

TEST_F(SmtpFaults, StartTlsNotOfferedFailsWith416AndQuits) {
  EXPECT_EQ(Open("no_starttls", kSmtpStartTls), 416);
  EXPECT_NE(ServerSaw().find("\nQUIT\n"), std::string::npos);
}

TEST_F(SmtpFaults, ServerWithoutAuthOpensTheSessionWithoutIt) {
  EXPECT_EQ(Open("no_auth_offered"), 0);
  EXPECT_TRUE(smtp_.Connected());
  EXPECT_EQ(ServerSaw(), "EHLO " + smtp_.HostNameText() + "\nQUIT\n<closed>\n");
}

}  // namespace
}  // namespace quadrel
