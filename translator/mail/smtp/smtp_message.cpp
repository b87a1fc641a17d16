// CSmtp's message: the setters, the recipients and body lines, and the
// message header.
#include <array>

#include "mail/smtp/smtp_client.h"
#include "mail/smtp/smtp_message_text.h"

namespace quadrel {
namespace {

constexpr std::string_view kCharacterSet = "US-ASCII";
constexpr std::array<const char*, 12> kMonths = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                 "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

bool IsValidMoment(const platform::LocalTime& t) {
  return t.year >= 1 && t.month >= 1 && t.month <= 12 && t.day >= 1 && t.day <= 31 && t.hour >= 0 &&
         t.hour <= 23 && t.minute >= 0 && t.minute <= 59 && t.second >= 0 && t.second <= 60;
}

std::string DateLine(const platform::LocalTime& t) {
  return "Date: " + std::to_string(t.day) + " " + kMonths[static_cast<std::size_t>(t.month - 1)] + " " +
         std::to_string(t.year) + " " + std::to_string(t.hour) + ":" + std::to_string(t.minute) + ":" +
         std::to_string(t.second) + "\r\n";
}

}  // namespace

void CSmtp::SetSubjectLine(std::string_view subject) {
  subject_ = HeaderValue(subject);
}

void CSmtp::SetMailerHeader(std::string_view mailer) {
  mailer_ = HeaderValue(mailer);
}

void CSmtp::SetServerEndpoint(std::string_view host, std::uint16_t port, bool authenticate) {
  serverHost_ = host;
  serverPort_ = port;
  authenticate_ = authenticate;
}

void CSmtp::AddToRecipient(const char* address, const char* displayName) {
  // An address that could close its brackets could also add envelope commands.
  if (!address || !IsUsableAddress(address)) RaiseSmtp(kSmtpRecipientWithoutAddress);
  toRecipients_.push_back({HeaderValue(displayName ? displayName : ""), address});
}

const std::string& CSmtp::BodyLineAt(std::size_t index) const {
  if (index >= bodyLines_.size()) RaiseSmtp(kSmtpBodyLineIndex);
  return bodyLines_[index];
}

std::string CSmtp::ComposeHeader(const platform::LocalTime& moment) const {
  if (!IsValidMoment(moment)) RaiseSmtp(kSmtpNoValidTime);
  if (toRecipients_.empty()) RaiseSmtp(kSmtpNoRecipient);
  if (!IsUsableAddress(fromAddress_)) RaiseSmtp(kSmtpNoSender);

  std::string header = DateLine(moment);
  header += TextLine("From:  <" + fromAddress_ + ">");
  if (!mailer_.empty()) header += TextLine("X-Mailer: " + mailer_);
  header += TextLine("X-Priority: 3 (Normal)");
  std::string to = "To: ";
  for (const SmtpRecipient& recipient : toRecipients_) {
    if (&recipient != &toRecipients_.front()) to += ",";
    to += recipient.displayName + "<" + recipient.address + ">";
  }
  header += TextLine(to);
  header += TextLine(subject_.empty() ? "Subject:  " : "Subject: " + subject_);
  header += TextLine("MIME-Version: 1.0");
  if (attachments_.empty()) {
    header += TextLine("Content-type: text/plain; charset=\"" + std::string(kCharacterSet) + "\"");
  } else {
    header += TextLine("Content-Type: multipart/mixed; boundary=\"" + std::string(kMessageBoundary) + "\"");
    header += TextLine("");
    header += TextLine("--" + std::string(kMessageBoundary));
    header += TextLine("Content-type: text/plain; charset=" + std::string(kCharacterSet));
  }
  header += TextLine("Content-Transfer-Encoding: 7bit");
  header += TextLine("");
  return header;
}

}  // namespace quadrel
