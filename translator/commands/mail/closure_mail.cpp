#include "commands/mail/closure_mail.h"

#include <cstdio>
#include <string>

#include "commands/mail/mail_order.h"
#include "commands/mail/nested_lines.h"
#include "config/ecr_conf_texts.h"
#include "language/command_field_values.h"
#include "language/result_codes.h"
#include "language/result_text.h"
#include "mail/closure/closure_run.h"
#include "state/ecr_config.h"
#include "state/library_state.h"
#include "text/capture_field.h"
#include "text/text_helpers.h"

namespace quadrel {
namespace {

constexpr int kAuthenticateSlot = 4, kUserSlot = 5, kSecretSlot = 6, kFromSlot = 7, kRecipientsSlot = 8;
constexpr int kServerSlot = 9, kPortSlot = 10, kSecuritySlot = 11, kExtraLineSlot = 12;
constexpr int kClosureNumberField = 9;  // of the line state (information item 8)
constexpr int kMaxRecipients = 19;
constexpr char kMailer[] = "QDX ECR Velmora";
constexpr char kBodyLine[] = "In allegato i dati relativi alla chiusura fiscale";

// A switch of this command is on only as a bare flag.
bool FlagOn(int slot) { return FieldText(slot) == kBareFlag; }

// Fields 1 to 19 of the ';'-separated list that are not empty, in order.
std::vector<std::string> Recipients(const std::string& list) {
  std::vector<std::string> recipients;
  for (int n = 1; n <= kMaxRecipients; ++n) {
    std::string address;
    GetNthField(list + ";", address, n, ';');
    if (!address.empty()) recipients.push_back(address);
  }
  return recipients;
}

bool ReadOrder(MailOrder& order) {
  order.authenticate = FlagOn(kAuthenticateSlot);
  order.user = FieldText(kUserSlot);
  order.secret = FieldText(kSecretSlot);
  order.from = FieldText(kFromSlot);
  order.recipients = Recipients(FieldText(kRecipientsSlot));
  order.server = FieldText(kServerSlot);
  order.mailer = kMailer;
  return (!FieldGiven(kPortSlot) || ParseMailPort(FieldText(kPortSlot), order.port)) &&
         (!FieldGiven(kSecuritySlot) || ParseMailSecurity(FieldText(kSecuritySlot), order.security));
}

std::string ClosureNumber() {
  std::string lineState, number;
  if (RunNestedLine("#71 #1=8", &lineState) == 0)
    GetNthField(lineState, number, kClosureNumberField, SeparatorChar());
  return number;
}

// Dumps the VAT rates and the totals into their work files; the register's
// status text when both went well, else empty.
std::string DumpClosureFiles() {
  // A dump that fails must not leave an earlier closure's file to be mailed.
  std::remove(kVatRatesWorkFile);
  std::remove(kTotalsWorkFile);
  std::string vatLine = "#3 #1=3, #2=";
  AppendQuoted(vatLine, kVatRatesWorkFile) += ", #5";
  if (RunNestedLine(vatLine) != 0) return {};
  std::string totalsLine = "#3 #1=99, #2=";
  if (RunNestedLine(AppendQuoted(totalsLine, kTotalsWorkFile)) != 0) return {};
  return SettingValuesText(CurrentRecord()).value_or("");
}

}  // namespace

int CmdMailClosure() {
  const ClosureSelection selection = {FlagOn(1), FlagOn(2), FlagOn(3)};
  MailOrder order;
  if (!ReadOrder(order)) return kResultIllegalValue;
  const std::string extraLine = FieldText(kExtraLineSlot);

  // Nested failures leave their part out; the mail still goes.
  const std::string closure = ClosureNumber();
  const std::string status = DumpClosureFiles();
  ClosureRun run;
  RegisterClosureWriters(run);
  run.registerId = CurrentEcrId();
  run.vatRates = LoadVatRates(ReadWorkFile(kVatRatesWorkFile).value_or(""));
  RunClosureWriters(run, ReadWorkFile(kTotalsWorkFile).value_or(""), status, closure, selection);
  order.attachments = ListClosureFiles(run, selection);

  order.subject = "CHIUSURA FISCALE : MATRICOLA " + run.registerId + " AZZERAMENTO NR. " + closure;
  order.bodyLines = {kBodyLine, run.registerId + " " + CurrentFirmwareName()};
  if (!extraLine.empty()) order.bodyLines.push_back(extraLine);
  const bool sent = SendMailOrder(order);
  RemoveClosureFiles(run, selection);
  SetPendingReply(sent ? "OK" : "KO");
  return sent ? kResultOk : kResultMailNotSent;
}

}  // namespace quadrel
