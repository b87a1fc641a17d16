#include "commands/mail/receipt_mail.h"

#include <cstdio>

#include "commands/mail/mail_failure_text.h"
#include "commands/mail/mail_order.h"
#include "commands/mail/receipt_picture.h"
#include "files/line_file.h"
#include "interfaces/registry.h"
#include "language/command_field_values.h"
#include "language/result_codes.h"
#include "language/result_text.h"
#include "platform/platform.h"

namespace quadrel {
namespace {

constexpr int kFirstRequiredSlot = 3;  // #3 must be given; its value is not used
constexpr int kUserSlot = 4, kSecretSlot = 5, kFromSlot = 6, kToSlot = 7, kServerSlot = 8;
constexpr int kPortSlot = 9, kSecuritySlot = 10, kAnswerSlot = 11, kPhoneSlot = 12;
constexpr std::size_t kCopyChars = 254;  // the widest setting the command keeps
constexpr std::size_t kPhoneChars = 20;
constexpr char kMailer[] = "ECR Velmora";

std::string DefaultMailServer() {
  std::string server;
  platform::ReadSettingText(platform::SettingsRoot::LocalMachine, registry::kDriverKey, registry::kMailServer,
                            kCopyChars + 1, server);
  return server;
}

bool IsPhoneNumber(const std::string& text) {
  return !text.empty() && text.size() <= kPhoneChars && text.find_first_not_of("+0123456789") == std::string::npos;
}

// The mail's settings from the command line: false for a value the command
// cannot take (too long, a port or security type out of range, a telephone
// number of other characters), before anything runs.
bool ReadOrder(MailOrder& order) {
  for (int slot = kUserSlot; slot <= kSecuritySlot; ++slot)
    if (FieldText(slot).size() > kCopyChars) return false;
  order.server = FieldGiven(kServerSlot) ? FieldText(kServerSlot) : DefaultMailServer();
  order.authenticate = true;  // only when the server offers it
  order.user = FieldText(kUserSlot);
  order.secret = FieldText(kSecretSlot);
  order.from = FieldText(kFromSlot);
  order.recipients = {FieldText(kToSlot)};
  order.mailer = kMailer;
  return (!FieldGiven(kPortSlot) || ParseMailPort(FieldText(kPortSlot), order.port)) &&
         (!FieldGiven(kSecuritySlot) || ParseMailSecurity(FieldText(kSecuritySlot), order.security)) &&
         (!FieldGiven(kPhoneSlot) || IsPhoneNumber(FieldText(kPhoneSlot)));
}

bool RequiredFieldsGiven() {
  for (int slot = kFirstRequiredSlot; slot <= kToSlot; ++slot)
    if (!FieldGiven(slot)) return false;
  return true;
}

// Draws the receipt under the telephone number's name and mails it; the
// picture is removed once sent. Returns the result of a failing nested line,
// else 0 with the mail's `failure` set (0 when sent).
int MailPicture(MailOrder& order, int& failure) {
  LastReceipt receipt;
  int code = ReadLastReceipt(receipt);
  if (code == 0) code = FetchReceiptLines(receipt);
  if (code != 0) return code;
  const std::string picture = MailPhoneNumber() + "_.bmp";
  DrawReceiptPicture(picture);
  order.bodyLines = {MailPhoneNumber()};
  order.attachments = {picture};
  failure = SendMailOrder(order);
  if (failure == 0) std::remove(picture.c_str());
  return kResultOk;
}

}  // namespace

std::string& MailPhoneNumber() {
  static std::string number;
  return number;
}

int CmdMailReceipt() {
  MailOrder order;
  if (!ReadOrder(order)) return kResultIllegalValue;
  LineFile answerFile;
  if (FieldGiven(kAnswerSlot) &&
      !OpenLineFile(FieldText(kAnswerSlot), LINE_CREATE_ALWAYS | LINE_READ_WRITE, answerFile, 0))
    return kResultBatchFileOpenError;
  if (FieldGiven(kPhoneSlot)) MailPhoneNumber() = FieldText(kPhoneSlot);

  int failure = kMailParametersMissing;
  if (RequiredFieldsGiven()) {
    if (MailPhoneNumber().empty()) return CloseAndReturn(kResultNoMailPhoneNumber, answerFile);
    const int code = MailPicture(order, failure);
    if (code != 0) return CloseAndReturn(code, answerFile);
  }
  MailPhoneNumber().clear();
  const char* answer = failure == 0 ? "OK" : "KO";
  SetPendingReply(answer);
  if (answerFile.IsOpen()) WriteLine(answerFile, answer);
  // A batch or an AutoRun errors file must see a mail that did not go, and why.
  return CloseAndReturn(
      failure == 0 ? kResultOk : FailWithDetail(kResultMailNotSent, MailNotSentText(failure)), answerFile);
}

}  // namespace quadrel
