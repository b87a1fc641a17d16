// CSmtp's authentication: the first of LOGIN, PLAIN, CRAM-MD5 and DIGEST-MD5
// that the server offers. Credentials never reach the debugger trace.
#include <cstdio>
#include <ctime>

#include "mail/smtp/base64.h"
#include "mail/smtp/smtp_auth_answers.h"
#include "mail/smtp/smtp_client.h"
#include "mail/smtp/smtp_reply.h"

namespace quadrel {
namespace {

constexpr std::string_view kHidden = "<hidden>";
constexpr std::int32_t kAuthenticated = 235;

std::string Line(std::string_view text) {
  return std::string(text) + "\r\n";
}

}  // namespace

void CSmtp::Authenticate(const std::string& user, const std::string& password) {
  if (!user.empty()) loginUser_ = user;
  if (!password.empty()) password_ = password;
  if (loginUser_.empty()) RaiseSmtp(kSmtpNoLoginUser);
  if (password_.empty()) RaiseSmtp(kSmtpNoPassword);

  const std::string offer = receiveBuffer_;
  if (HasEhloKeyword(offer, "LOGIN"))
    LoginByLogin();
  else if (HasEhloKeyword(offer, "PLAIN"))
    LoginByPlain();
  else if (HasEhloKeyword(offer, "CRAM-MD5"))
    LoginByCramMd5();
  else if (HasEhloKeyword(offer, "DIGEST-MD5"))
    LoginByDigestMd5();
  else
    RaiseSmtp(kSmtpNoKnownMechanism);
}

void CSmtp::LoginByLogin() {
  SendBuffer(SmtpStep(kStepAuthLogin), "AUTH LOGIN\r\n");
  AwaitReply(SmtpStep(kStepAuthLogin));
  SendBuffer(SmtpStep(kStepLoginUser), Line(Base64Encode(loginUser_)), kHidden);
  AwaitReply(SmtpStep(kStepLoginUser));
  SendBuffer(SmtpStep(kStepAuthAnswer), Line(Base64Encode(password_)), kHidden);
  AwaitReply(SmtpStep(kStepAuthAnswer));
}

void CSmtp::LoginByPlain() {
  std::string credentials = std::string(1, '\0') + loginUser_ + std::string(1, '\0') + password_;
  SendBuffer(SmtpStep(kStepAuthPlain), Line("AUTH PLAIN " + Base64Encode(credentials)),
             "AUTH PLAIN <hidden>");
  // With the credentials given at once, a server that accepts them answers 235.
  SmtpStepEntry accepted = SmtpStep(kStepAuthPlain);
  accepted.expectedReply = kAuthenticated;
  AwaitReply(accepted);
}

// The challenge of a 334 reply: the base64 after "334 ".
std::string CSmtp::ChallengeOfLastReply() const {
  return receiveBuffer_.size() > 4 ? Base64Decode(std::string_view(receiveBuffer_).substr(4)) : std::string();
}

void CSmtp::LoginByCramMd5() {
  SendBuffer(SmtpStep(kStepAuthCramMd5), "AUTH CRAM-MD5\r\n");
  AwaitReply(SmtpStep(kStepAuthCramMd5));
  std::string answer = CramMd5Answer(ChallengeOfLastReply(), loginUser_, password_);
  SendBuffer(SmtpStep(kStepAuthAnswer), Line(Base64Encode(answer)), kHidden);
  AwaitReply(SmtpStep(kStepAuthAnswer));
}

void CSmtp::LoginByDigestMd5() {
  SendBuffer(SmtpStep(kStepAuthDigestMd5), "AUTH DIGEST-MD5\r\n");
  AwaitReply(SmtpStep(kStepAuthDigestMd5));
  DigestChallenge challenge = ParseDigestChallenge(ChallengeOfLastReply());
  std::string peer;
  if (!sockets_.PeerAddressText(socket_, peer)) RaiseSmtp(kSmtpNoPeerAddress);
  char cnonce[24];
  std::snprintf(cnonce, sizeof cnonce, "%llx", static_cast<unsigned long long>(std::time(nullptr)));
  std::string uri = "smtp/" + peer;
  std::string answer = DigestMd5Answer(challenge, {loginUser_, password_, cnonce, uri});
  SendBuffer(SmtpStep(kStepAuthDigestMd5), Line(Base64Encode(answer)), kHidden);
  AwaitReply(SmtpStep(kStepAuthDigestMd5));
  SendBuffer(SmtpStep(kStepAuthAnswer), "\r\n", kHidden);
  AwaitReply(SmtpStep(kStepAuthAnswer));
}

}  // namespace quadrel
