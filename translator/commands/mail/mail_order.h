// One mail of the mail commands, sent through the flat mail functions in
// their fixed order; and the checks of the server settings the commands take.
#pragma once

#include <string>
#include <vector>

namespace quadrel {

struct MailOrder {
  std::string server;
  int port = 25;
  bool authenticate = false;
  unsigned security = 1;
  std::string user, secret, from, subject;
  std::vector<std::string> recipients;
  std::string mailer;
  std::vector<std::string> bodyLines;
  std::vector<std::string> attachments;
};

// Builds the message and sends it: 0 when sent, else the mail client's code
// of the failure, whichever function raised it, or kMailClientFailed. The
// client is released on every way out.
int SendMailOrder(const MailOrder& order);

// A TCP port, 1 to 65535.
bool ParseMailPort(const std::string& text, int& port);
// A security type of the mail client, 0 to 3: another value must not fall
// back to a plain connection.
bool ParseMailSecurity(const std::string& text, unsigned& security);

}  // namespace quadrel
