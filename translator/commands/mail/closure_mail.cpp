#include "commands/mail/closure_mail.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "commands/mail/mail_failure_text.h"
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

// Dumps the VAT rates and the totals into their work files; false when
// either dump failed (its file may hold part of the data, never to be used).
bool DumpClosureFiles() {
  // A dump that fails must not leave an earlier closure's file to be read.
  std::remove(kVatRatesWorkFile);
  std::remove(kTotalsWorkFile);
  std::string vatLine = "#3 #1=3, #2=";
  AppendQuoted(vatLine, kVatRatesWorkFile) += ", #5";
  std::string totalsLine = "#3 #1=99, #2=";
  return RunNestedLine(vatLine) == 0 && RunNestedLine(AppendQuoted(totalsLine, kTotalsWorkFile)) == 0;
}

// Writes the selected reports from the work files; false when they are
// incomplete (a dump or a module failed). A mail without reports has none
// that could be.
bool WriteReports(ClosureRun& run, const std::string& closure, const ClosureSelection& selection) {
  RegisterClosureWriters(run);
  run.registerId = CurrentEcrId();
  const bool dumped = DumpClosureFiles();
  if (std::none_of(selection.begin(), selection.end(), [](bool selected) { return selected; })) return true;
  if (!dumped) return false;
  const std::optional<std::string> vatRates = ReadWorkFile(kVatRatesWorkFile);
  const std::optional<std::string> totals = ReadWorkFile(kTotalsWorkFile);
  if (!vatRates || !totals) return false;
  run.vatRates = LoadVatRates(*vatRates);
  const std::string status = SettingValuesText(CurrentRecord()).value_or("");
  return RunClosureWriters(run, *totals, status, closure, selection) == 0;
}

}  // namespace

int CmdMailClosure() {
  const ClosureSelection selection = {FlagOn(1), FlagOn(2), FlagOn(3)};
  MailOrder order;
  if (!ReadOrder(order)) return kResultIllegalValue;
  const std::string extraLine = FieldText(kExtraLineSlot);

  // Without its closure number the mail still goes (the subject and names
  // then lack it); incomplete reports never go.
  const std::string closure = ClosureNumber();
  ClosureRun run;
  int failure = kMailReportsIncomplete;
  if (WriteReports(run, closure, selection)) {
    order.attachments = ListClosureFiles(run, selection);
    order.subject = "CHIUSURA FISCALE : MATRICOLA " + run.registerId + " AZZERAMENTO NR. " + closure;
    order.bodyLines = {kBodyLine, run.registerId + " " + CurrentFirmwareName()};
    if (!extraLine.empty()) order.bodyLines.push_back(extraLine);
    failure = SendMailOrder(order);
  }
  RemoveClosureFiles(run, selection);
  SetPendingReply(failure == 0 ? "OK" : "KO");
  return failure == 0 ? kResultOk : FailWithDetail(kResultMailNotSent, MailNotSentText(failure));
}

}  // namespace quadrel
