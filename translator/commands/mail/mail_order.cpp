#include "commands/mail/mail_order.h"

#include <memory>

#include "commands/mail/mail_failure_text.h"
#include "mail/smtp/smtp_errors.h"
#include "mail/smtp/smtp_facade.h"

namespace quadrel {
namespace {

bool ParseNumber(const std::string& text, int low, int high, int& value) {
  if (text.empty() || text.size() > 5 || text.find_first_not_of("0123456789") != std::string::npos) return false;
  value = std::stoi(text);
  return value >= low && value <= high;
}

}  // namespace

int SendMailOrder(const MailOrder& order) {
  try {
    const std::unique_ptr<void, void (*)(void*)> client(SmtpCreate(), SmtpRelease);
    void* smtp = client.get();
    SmtpSetServer(smtp, order.server.c_str(), order.port, order.authenticate ? 1 : 0);
    SmtpSetSecurity(smtp, order.security);
    SmtpSetUser(smtp, order.user.c_str());
    SmtpSetSecret(smtp, order.secret.c_str());
    SmtpSetFrom(smtp, order.from.c_str());
    SmtpSetSubject(smtp, order.subject.c_str());
    for (const std::string& to : order.recipients) SmtpAddTo(smtp, to.c_str(), "");
    SmtpSetMailer(smtp, order.mailer.c_str());
    for (const std::string& line : order.bodyLines) SmtpAddBodyLine(smtp, line.c_str());
    for (const std::string& path : order.attachments) SmtpAttachFile(smtp, path.c_str());
    if (SmtpSend(smtp) == 1) return 0;
    const int failure = SmtpSendFailure(smtp);
    return failure != 0 ? failure : kMailClientFailed;
  } catch (const ECSmtp& failure) {
    return failure.code;
  } catch (...) {
    return kMailClientFailed;  // the mail client's failures never reach the command's caller
  }
}

bool ParseMailPort(const std::string& text, int& port) { return ParseNumber(text, 1, 65535, port); }

bool ParseMailSecurity(const std::string& text, unsigned& security) {
  int value = 0;
  if (!ParseNumber(text, 0, 3, value)) return false;
  security = static_cast<unsigned>(value);
  return true;
}

}  // namespace quadrel
