// Why a mail of the mail commands was not sent, in words for the command's
// error text: a mail failure must not read like a fault of the register.
#pragma once

#include <string>

namespace quadrel {

// Failures of the commands themselves, beside the mail client's own codes.
enum MailFailure : int {
  kMailClientFailed = -1,       // the client failed without a code of its own
  kMailParametersMissing = -2,  // a field the mail needs was not given
  kMailReportsIncomplete = -3,  // a register file or a report could not be written whole
};

// "MAIL NOT SENT : " and the reason for `failure` (a mail client code or a
// MailFailure); a client code also follows in brackets.
std::string MailNotSentText(int failure);

}  // namespace quadrel
