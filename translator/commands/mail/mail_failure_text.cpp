#include "commands/mail/mail_failure_text.h"

#include "mail/smtp/smtp_errors.h"

namespace quadrel {
namespace {

struct ReasonRange {
  int first, last;
  const char* reason;
};

// The mail client's codes by what went wrong; the step codes of the server's
// refusals (300-310) come last so that the login steps among them win.
constexpr ReasonRange kReasons[] = {
    {kSmtpSocketLayerFailed, kSmtpWaitFailed, "SERVER UNREACHABLE"},
    {kSmtpConnectTimedOut, kSmtpConnectTimedOut, "SERVER UNREACHABLE"},
    {kSmtpConnectionClosed, kSmtpTimedOut, "CONNECTION LOST"},
    {kSmtpReplyTooLong, kSmtpReplyTooLong, "CONNECTION LOST"},
    {413, 413, "TLS FAILED"},  // STARTTLS refused
    {kSmtpTlsFailed, kSmtpNoStartTls, "TLS FAILED"},
    {kSmtpNoLoginUser, kSmtpDigestChallengeBad, "AUTHENTICATION FAILED"},
    {302, 306, "AUTHENTICATION FAILED"},  // AUTH refused
    {406, 407, "AUTHENTICATION FAILED"},  // user or password refused
    {kSmtpNoKnownMechanism, kSmtpNoKnownMechanism, "AUTHENTICATION FAILED"},
    {300, 310, "REFUSED BY THE SERVER"},
    {415, 415, "CONNECTION LOST"},  // the message text could not be sent
    {kSmtpNoSender, kSmtpNoRecipient, "NO VALID SENDER OR RECIPIENT"},
    {kSmtpRecipientWithoutAddress, kSmtpRecipientWithoutAddress, "NO VALID SENDER OR RECIPIENT"},
    {kSmtpAttachmentUnreadable, kSmtpAttachmentsTooLarge, "ATTACHMENT UNREADABLE OR TOO LARGE"},
    {kSmtpNoValidTime, kSmtpNoValidTime, "NO VALID DATE"},
};

const char* Reason(int failure) {
  switch (failure) {
    case kMailParametersMissing:
      return "PARAMETERS MISSING";
    case kMailReportsIncomplete:
      return "CLOSURE REPORTS INCOMPLETE";
    default:
      break;
  }
  for (const ReasonRange& range : kReasons)
    if (failure >= range.first && failure <= range.last) return range.reason;
  return "MAIL CLIENT ERROR";
}

}  // namespace

std::string MailNotSentText(int failure) {
  std::string text = std::string("MAIL NOT SENT : ") + Reason(failure);
  if (failure > 0) text += " (" + std::to_string(failure) + ")";
  return text;
}

}  // namespace quadrel
