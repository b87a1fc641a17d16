// CSmtp's message: the setters, the recipients and body lines, and the
// message header.
#include <array>
#include <cstdio>

#include "mail/smtp/smtp_client.h"
#include "mail/smtp/smtp_message_text.h"

namespace quadrel {
namespace {

constexpr std::string_view kCharacterSet = "US-ASCII";
constexpr std::array<const char*, 12> kMonths = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                 "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
constexpr std::array<const char*, 7> kDays = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
constexpr int kMaxOffsetMinutes = 99 * 60 + 59;  // what four digits hold

bool IsValidMoment(const platform::LocalTime& t) {
  return t.year >= 1 && t.year <= 9999 && t.month >= 1 && t.month <= 12 && t.day >= 1 && t.day <= 31 &&
         t.hour >= 0 && t.hour <= 23 && t.minute >= 0 && t.minute <= 59 && t.second >= 0 && t.second <= 60 &&
         t.utcOffsetMinutes >= -kMaxOffsetMinutes && t.utcOffsetMinutes <= kMaxOffsetMinutes;
}

// 0 for Sunday (Sakamoto's rule over the Gregorian calendar).
int DayOfWeek(int year, int month, int day) {
  constexpr int kMonthShift[] = {0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};
  if (month < 3) --year;
  return (year + year / 4 - year / 100 + year / 400 + kMonthShift[month - 1] + day) % 7;
}

// "Wed, 09 Dec 2026 09:16:57 +0100", the date form of mail headers.
std::string DateLine(const platform::LocalTime& t) {
  const int offset = t.utcOffsetMinutes < 0 ? -t.utcOffsetMinutes : t.utcOffsetMinutes;
  char line[64];
  std::snprintf(line, sizeof line, "Date: %s, %02d %s %04d %02d:%02d:%02d %c%02d%02d\r\n",
                kDays[static_cast<std::size_t>(DayOfWeek(t.year, t.month, t.day))], t.day,
                kMonths[static_cast<std::size_t>(t.month - 1)], t.year, t.hour, t.minute, t.second,
                t.utcOffsetMinutes < 0 ? '-' : '+', offset / 60, offset % 60);
  return line;
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
