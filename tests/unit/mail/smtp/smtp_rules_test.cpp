// The session's text rules: where a reply ends, which keywords an EHLO reply
// offers, how a DIGEST-MD5 challenge is read, the step table's lookup.
#include <gtest/gtest.h>

#include "mail/smtp/smtp_auth_answers.h"
#include "mail/smtp/smtp_errors.h"
#include "mail/smtp/smtp_reply.h"
#include "mail/smtp/smtp_steps.h"

namespace quadrel {
namespace {

TEST(SmtpReply, EndsAtTheFirstLineWithCodeAndBlankOrNothing) {
  const std::pair<const char*, std::optional<int>> cases[] = {
      {"220 ready\r\n", 220},
      {"250\r\n", 250},
      {"250-one\r\n250-two\r\n", std::nullopt},
      {"250-one\r\n250 two\r\n", 250},
      {"250-one\r\n250 two", std::nullopt},  // final line without its CR LF yet
      {"25\r\n", std::nullopt},
      {"2500\r\n", std::nullopt},
      {"abc def\r\n", std::nullopt},
      {"\r\n334 \r\n", 334},
  };
  for (const auto& [reply, code] : cases) EXPECT_EQ(FinalReplyCode(reply), code) << reply;
}

TEST(SmtpReply, OffersAKeywordOnlyAsAWholeWord) {
  const std::string ehlo = "250-host\r\n250-AUTH LOGIN PLAIN\r\n250-starttls\r\n250 SIZE=1000\r\n";
  const std::tuple<std::string, const char*, bool> cases[] = {
      {ehlo, "AUTH", true},
      {ehlo, "PLAIN", true},
      {ehlo, "STARTTLS", true},  // any case
      {ehlo, "SIZE", true},
      {ehlo, "CRAM-MD5", false},
      {"250-host\r\n250 AUTH=LOGIN\r\n", "AUTH", true},
      {"250-host\r\n250 AUTH=LOGIN\r\n", "LOGIN", true},
      {"250-host\r\n250 AUTHX LOGIN\r\n", "AUTH", false},
      {"250-host\r\n250 XAUTH LOGIN\r\n", "AUTH", false},
      {"250-host\r\n250 AUTH", "AUTH", false},  // last characters, no CR LF
      {"AUTH \r\n", "AUTH", false},             // never at the first character
      {"250 AUTH\r\n", "", false},
      {"250", "AUTH", false},
  };
  for (const auto& [reply, keyword, offered] : cases)
    EXPECT_EQ(HasEhloKeyword(reply, keyword), offered) << reply << keyword;
}

TEST(DigestChallenge, IsReadByItemName) {
  DigestChallenge read =
      ParseDigestChallenge("realm=\"nonce.example\",nonce=\"N1+/=\",qop=\"auth\",charset=utf-8");
  EXPECT_EQ(read.nonce, "N1+/=");
  EXPECT_EQ(read.realm, "nonce.example");
  read = ParseDigestChallenge("qop=auth, NONCE=abc,algorithm=md5-sess");
  EXPECT_EQ(read.nonce, "abc");
  EXPECT_EQ(read.realm, "");
  EXPECT_EQ(ParseDigestChallenge("nonce=\"a\\\"b\"").nonce, "a\"b");
}

TEST(DigestChallenge, WithoutNonceOrWithAnOpenQuoteFailsWith207) {
  for (const char* challenge :
       {"", "realm=\"x\",qop=auth", "nonce=\"abc", "nonce=\"abc\",realm=\"x", "realm=\"nonce=\"\""}) {
    try {
      ParseDigestChallenge(challenge);
      ADD_FAILURE() << challenge;
    } catch (const ECSmtp& failure) {
      EXPECT_EQ(failure.code, 207) << challenge;
    }
  }
}

TEST(SmtpSteps, LookupGivesNoRowForAnUnknownId) {
  EXPECT_EQ(FindSmtpStep(15)->errorCode, 413);
  EXPECT_EQ(FindSmtpStep(16), nullptr);
  EXPECT_EQ(FindSmtpStep(-1), nullptr);
}

}  // namespace
}  // namespace quadrel
