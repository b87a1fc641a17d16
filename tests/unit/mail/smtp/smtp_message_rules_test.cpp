// The message's text rules without a server: DATA lines, attachment names and
// types, header values and addresses, and the checks of the header.
#include <gtest/gtest.h>

#include "mail/mail_test_peers.h"
#include "mail/smtp/smtp_client.h"
#include "mail/smtp/smtp_message_text.h"

namespace quadrel {
namespace {

using Lines = std::vector<std::string>;

TEST(SmtpMessageText, BodyLinesAreSplitAtLineBreaksAndDotStuffed) {
  const std::pair<const char*, Lines> cases[] = {
      {"", {""}},
      {".", {".."}},
      {".x", {"..x"}},
      {"a.b", {"a.b"}},
      {"a\r\n.b\rc\nd", {"a", "..b", "c", "d"}},
      {"a\n\r\n", {"a", "", ""}},
  };
  for (const auto& [line, expected] : cases) EXPECT_EQ(DataLines(line), expected) << line;
}

TEST(SmtpMessageText, AttachmentNamesAndTypes) {
  const std::tuple<const char*, const char*, const char*> cases[] = {
      {"C:\\work\\12345_.bmp", "12345_.bmp", "image/bmp"},
      {"C:\\reports\\RD.TXT", "RD.TXT", "text/plain"},
      {"C:\\a\\txt", "txt", "image/bmp"},
      {"C:\\a\\b\r\n.bmp", "b  .bmp", "image/bmp"},
  };
  for (const auto& [path, name, type] : cases) {
    EXPECT_EQ(AttachmentName(path), name) << path;
    EXPECT_EQ(AttachmentType(AttachmentName(path)), type) << path;
  }
}

class SmtpMessageHeader : public testing::Test {
 protected:
  static constexpr platform::LocalTime kMoment{2026, 3, 5, 9, 4, 7, 0, 60};
  CSmtp smtp_;
};

TEST_F(SmtpMessageHeader, RecipientThatCouldAddCommandsIsRefusedWith209) {
  EXPECT_EQ(mail_test::SmtpCodeOf([&] { smtp_.AddToRecipient("a@x>\r\nRCPT TO:<b@x", nullptr); }), 209);
  EXPECT_EQ(mail_test::SmtpCodeOf([&] { smtp_.AddToRecipient(nullptr, "Name"); }), 209);
  smtp_.SetFromAddress("till@x");
  EXPECT_EQ(mail_test::SmtpCodeOf([&] { smtp_.ComposeHeader(kMoment); }), 203) << "no recipient was added";
}

TEST_F(SmtpMessageHeader, RefusesBadTimeMissingRecipientAndBadSender) {
  EXPECT_EQ(mail_test::SmtpCodeOf([&] { smtp_.ComposeHeader({2026, 13, 5, 9, 4, 7, 0, 0}); }), 409);
  EXPECT_EQ(mail_test::SmtpCodeOf([&] { smtp_.ComposeHeader(kMoment); }), 203);
  smtp_.AddToRecipient("sink@x", "Sink\r\nBcc: evil@x");
  EXPECT_EQ(mail_test::SmtpCodeOf([&] { smtp_.ComposeHeader(kMoment); }), 201);
  smtp_.SetFromAddress("till@x>");
  EXPECT_EQ(mail_test::SmtpCodeOf([&] { smtp_.ComposeHeader(kMoment); }), 201);
  smtp_.SetFromAddress("till@x");
  smtp_.SetSubjectLine("a\r\nBcc: evil@x");
  std::string header = smtp_.ComposeHeader(kMoment);
  EXPECT_NE(header.find("\r\nTo: Sink  Bcc: evil@x<sink@x>\r\nSubject: a  Bcc: evil@x\r\n"),
            std::string::npos)
      << header;
}

TEST_F(SmtpMessageHeader, DateHasTheMailFormWithDayNameAndZoneOffset) {
  smtp_.SetFromAddress("till@x");
  smtp_.AddToRecipient("sink@x", nullptr);
  const std::pair<platform::LocalTime, const char*> cases[] = {
      {{2026, 12, 9, 9, 16, 57, 0, 60}, "Date: Wed, 09 Dec 2026 09:16:57 +0100\r\n"},
      {{2000, 2, 29, 23, 0, 5, 999, -330}, "Date: Tue, 29 Feb 2000 23:00:05 -0530\r\n"},
      {{2027, 1, 1, 0, 0, 0, 0, 0}, "Date: Fri, 01 Jan 2027 00:00:00 +0000\r\n"},
  };
  for (const auto& [moment, line] : cases) EXPECT_TRUE(smtp_.ComposeHeader(moment).starts_with(line)) << line;
}

TEST_F(SmtpMessageHeader, BodyLineIndexBeyondTheLastFailsWith412) {
  smtp_.AppendBodyLine("one");
  EXPECT_EQ(smtp_.BodyLineCount(), 1u);
  EXPECT_EQ(smtp_.BodyLineAt(0), "one");
  EXPECT_EQ(mail_test::SmtpCodeOf([&] { smtp_.BodyLineAt(1); }), 412);
}

}  // namespace
}  // namespace quadrel
