// The message on the wire and its refusals, against the fault server's
// message listeners (each records what came after DATA), and the flat mail
// functions around it.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

#include "file_text.h"
#include "mail/mail_test_peers.h"
#include "mail/smtp/base64.h"
#include "mail/smtp/smtp_client.h"
#include "mail/smtp/smtp_facade.h"

namespace quadrel {
namespace {

namespace fs = std::filesystem;

const std::string kBoundary = "__MESSAGE__ID__54yg6f6h6y456345";
// Nothing listens on port 1: a client that connected there would fail with 109.
constexpr std::uint16_t kNoServerPort = 1;

class SmtpMessageFaults : public testing::Test {
 protected:
  static void SetUpTestSuite() { ScaleSmtpWaitsForTests(10); }
  static void TearDownTestSuite() { ScaleSmtpWaitsForTests(1000); }

  void SetUp() override {
    ports_ = mail_test::ReadPeerValues(SMTP_FAULTS_DIR "/faults.env");
    ASSERT_FALSE(ports_.empty()) << "the fault server is not up";
    files_ = mail_test::FreshTestFolder();
    const platform::LocalTime moment{2026, 3, 5, 9, 4, 7, 0, 60};
    platform::FixLocalNowForTests(&moment);
  }
  void TearDown() override {
    platform::FixLocalNowForTests(nullptr);
    fs::remove_all(files_);
  }

  // Points a client at a case's listener (its earlier records removed), from
  // till@quadrel.test to sink@quadrel.test.
  void Address(CSmtp& smtp, const std::string& scenario) {
    std::string upper = scenario;
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    fs::remove(Record(scenario, ".log"));
    fs::remove(Record(scenario, ".data"));
    smtp.SetServerEndpoint("127.0.0.1", static_cast<std::uint16_t>(std::stoi(ports_.at("PORT_" + upper))),
                           false);
    smtp.SetFromAddress("till@quadrel.test");
    smtp.AddToRecipient("sink@quadrel.test", nullptr);
  }

  static std::string Record(const std::string& scenario, const char* kind) {
    return SMTP_FAULTS_DIR "/" + scenario + kind;
  }
  // The commands the server received, once the connection has ended.
  static std::string ServerSaw(const std::string& scenario) {
    return mail_test::WaitForLog(Record(scenario, ".log"), "<closed>");
  }
  static std::string Wire(const std::string& scenario) {
    ServerSaw(scenario);
    return quadrel_test::FileText(Record(scenario, ".data"));
  }

  std::string File(const std::string& name, std::size_t size, char seed = 0) {
    return mail_test::WriteFile((files_ / name).string(), size, seed);
  }

  static std::string Header(const std::string& mailerLine, const std::string& to, const std::string& subject,
                            const std::string& contentType) {
    return "Date: Thu, 05 Mar 2026 09:04:07 +0100\r\nFrom:  <till@quadrel.test>\r\n" + mailerLine +
           "X-Priority: 3 (Normal)\r\nTo: " + to + "\r\nSubject: " + subject + "\r\nMIME-Version: 1.0\r\n" +
           contentType + "Content-Transfer-Encoding: 7bit\r\n\r\n";
  }

  mail_test::PeerValues ports_;
  fs::path files_;
  CSmtp smtp_;
};

TEST_F(SmtpMessageFaults, MessageWithAttachmentsOnTheWire) {
  Address(smtp_, "message");
  smtp_.AddToRecipient("copy@quadrel.test", "Copy");
  smtp_.SetMailerHeader("Quadrel");
  smtp_.SetSubjectLine("Receipt");
  std::string bitmap = quadrel_test::FileText(File("C:\\work\\12345_.bmp", 54));
  smtp_.AttachFile((files_ / "C:\\work\\12345_.bmp").string());
  smtp_.AttachFile(mail_test::WriteFile((files_ / "rd.txt").string(), 3, 'a' - 0));
  ASSERT_EQ(mail_test::SmtpCodeOf([&] { smtp_.TransmitMessage(); }), 0);
  EXPECT_TRUE(smtp_.Connected()) << "the session stays open";
  smtp_.CloseConnection();

  std::string encoded = Base64Encode(bitmap);
  ASSERT_EQ(encoded.size(), 72u);
  const std::string part = "--" + kBoundary + "\r\n";
  EXPECT_EQ(Wire("message"),
            Header("X-Mailer: Quadrel\r\n", "<sink@quadrel.test>,Copy<copy@quadrel.test>", "Receipt",
                   "Content-Type: multipart/mixed; boundary=\"" + kBoundary + "\"\r\n\r\n" + part +
                       "Content-type: text/plain; charset=US-ASCII\r\n") +
                " \r\n" + part +
                "Content-Type: image/bmp; name=\"12345_.bmp\"\r\nContent-Transfer-Encoding: base64\r\n"
                "Content-Disposition: attachment; filename=\"12345_.bmp\"\r\n\r\n" +
                encoded + "\r\n\r\n" + part +
                "Content-Type: text/plain; name=\"rd.txt\"\r\nContent-Transfer-Encoding: base64\r\n"
                "Content-Disposition: attachment; filename=\"rd.txt\"\r\n\r\n" +
                Base64Encode(quadrel_test::FileText((files_ / "rd.txt").string())) + "\r\n\r\n--" +
                kBoundary + "--\r\n\r\n.\r\n");
  EXPECT_NE(ServerSaw("message").find("MAIL FROM:<till@quadrel.test>\nRCPT TO:<sink@quadrel.test>\n"
                                      "RCPT TO:<copy@quadrel.test>\nDATA\n<data "),
            std::string::npos);
}

TEST_F(SmtpMessageFaults, TextOnlyMessageIsOnePartWithDotsDoubledAndLongLinesWhole) {
  Address(smtp_, "text_message");
  const std::string longLine(20000, 'y');
  const std::string longSubject(20000, 'z');
  smtp_.SetSubjectLine(longSubject);
  for (const char* line : {".", ".x", "a\r\nb"}) smtp_.AppendBodyLine(line);
  smtp_.AppendBodyLine(longLine);
  ASSERT_EQ(mail_test::SmtpCodeOf([&] { smtp_.TransmitMessage(); }), 0);
  smtp_.CloseConnection();
  EXPECT_EQ(Wire("text_message"), Header("", "<sink@quadrel.test>", longSubject,
                                         "Content-type: text/plain; charset=\"US-ASCII\"\r\n") +
                                      "..\r\n..x\r\na\r\nb\r\n" + longLine + "\r\n\r\n.\r\n");
}

TEST_F(SmtpMessageFaults, RefusalsEndTheMessageAndQuit) {
  const std::tuple<const char*, int, const char*> cases[] = {
      {"mail_530", 300, "MAIL FROM:<till@quadrel.test>"},
      {"rcpt_refused", 309, "RCPT TO:<sink@quadrel.test>"},
      {"data_refused", 307, "RCPT TO:<copy@quadrel.test>\nDATA"},
      {"end_refused", 310, " bytes>"},
  };
  for (const auto& [scenario, code, lastSeen] : cases) {
    CSmtp smtp;
    Address(smtp, scenario);
    smtp.AddToRecipient("copy@quadrel.test", nullptr);
    EXPECT_EQ(mail_test::SmtpCodeOf([&] { smtp.TransmitMessage(); }), code) << scenario;
    EXPECT_FALSE(smtp.Connected()) << scenario;
    std::string saw = ServerSaw(scenario);
    EXPECT_TRUE(saw.ends_with(std::string(lastSeen) + "\nQUIT\n<closed>\n")) << scenario << ":\n" << saw;
  }
}

TEST_F(SmtpMessageFaults, FailureInsideDataClosesWithoutQuit) {
  Address(smtp_, "stalled_data");
  smtp_.AttachFile(File("big.bmp", 5000000));
  // The kernel still makes a little room for a stalled reader, at growing
  // intervals (its window probes): a send wait of 0.54 s runs out about 1.2 s
  // in, well before the server reads again after 3 s.
  ScaleSmtpWaitsForTests(3);
  EXPECT_EQ(mail_test::SmtpCodeOf([&] { smtp_.TransmitMessage(); }), 402);
  ScaleSmtpWaitsForTests(10);
  EXPECT_FALSE(smtp_.Connected());
  std::string wire = Wire("stalled_data");
  EXPECT_TRUE(wire.starts_with("Date: ")) << wire.substr(0, 100);
  EXPECT_FALSE(wire.ends_with("QUIT\r\n"));
}

TEST_F(SmtpMessageFaults, AttachmentsAndClockAreCheckedBeforeConnecting) {
  const std::string big = File("big.bmp", 5242880);
  const std::string longPath = File(std::string(250, 'p') + ".bmp", 1);
  const std::string missing = (files_ / "missing.bmp").string();
  const platform::LocalTime month13{2026, 13, 5, 9, 4, 7, 0, 0};
  const std::tuple<const char*, std::vector<std::string>, const platform::LocalTime*, int> cases[] = {
      {"missing file", {big, missing}, nullptr, 404},
      {"path over 254", {longPath}, nullptr, 404},
      {"5243904 bytes", {big, File("1024.bmp", 1024)}, nullptr, 405},
      {"no valid time", {}, &month13, 409},
  };
  for (const auto& [what, paths, moment, code] : cases) {
    if (moment) platform::FixLocalNowForTests(moment);
    CSmtp smtp;
    smtp.SetServerEndpoint("127.0.0.1", kNoServerPort, false);
    smtp.SetFromAddress("till@quadrel.test");
    smtp.AddToRecipient("sink@quadrel.test", nullptr);
    for (const std::string& path : paths) smtp.AttachFile(path);
    EXPECT_EQ(mail_test::SmtpCodeOf([&] { smtp.TransmitMessage(); }), code) << what;
  }
}

TEST_F(SmtpMessageFaults, FacadeSendsReportsFailuresAsZeroAndReleasesWithQuit) {
  void* client = SmtpCreate();
  auto& smtp = *static_cast<CSmtp*>(client);
  SmtpSetSecurity(client, kSmtpImplicitTls);
  SmtpSetSecurity(client, 7);
  EXPECT_EQ(smtp.SecurityType(), kSmtpImplicitTls);
  SmtpSetSecurity(client, kSmtpPlain);
  Address(smtp, "facade");
  SmtpAddBodyLine(client, "line");
  EXPECT_EQ(SmtpSend(client), 1);
  SmtpRelease(client);
  EXPECT_TRUE(ServerSaw("facade").ends_with(" bytes>\nQUIT\n<closed>\n")) << ServerSaw("facade");

  client = SmtpCreate();
  SmtpSetFrom(client, "till@quadrel.test");
  SmtpAddTo(client, "sink@quadrel.test", nullptr);
  SmtpSetServer(client, "no-such-host.invalid", 25, 0);
  EXPECT_EQ(SmtpSend(client), 0) << "unknown host";
  SmtpAttachFile(client, (files_ / "missing.bmp").string().c_str());
  auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(SmtpSend(client), 0) << "missing attachment";
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
  SmtpRelease(client);
}

}  // namespace
}  // namespace quadrel
