// Command 27: the daily closure in key position 3. #1 the closure function
// (default 1; 0 confirms twice instead), #3 flag: print the closure's receipt
// again as a QR code. With the sendZAE switch the register sends its XML
// documents right after the closure.
#include <initializer_list>
#include <string>
#include <string_view>

#include "commands/reports/report_commands.h"
#include "commands/reports/report_keys.h"
#include "files/capture_file.h"
#include "language/command_field_values.h"
#include "link/key_batch.h"
#include "run/command_executor.h"
#include "run/key_batch_sender.h"
#include "state/executor_state.h"
#include "state/library_state.h"

namespace quadrel {
namespace {

constexpr std::uint8_t kConfirmKey = 0x91;
constexpr std::uint8_t kFunctionKey = 0x93;
constexpr int kClosurePosition = 3;
constexpr int kQrSlot = 3;
constexpr std::string_view kFixedFunctionModels = "ADHN";  // always function 1
constexpr char kQrFile[] = "qrcode.txt";

int ClosureFunction(const ReportModel& model) {
  int function = 1;
  if (FieldGiven(1) && !FieldInteger(1, function)) function = 1;
  if (model.letter != 0 && kFixedFunctionModels.find(model.letter) != std::string_view::npos) function = 1;
  return function;
}

int QueueClosure(const ReportModel& model) {
  KeyRecords keys;
  keys.KeyPosition(kClosurePosition);
  // The first record after the key position may close the day.
  const int closureRecord = KeyBatch().Count() + keys.Count();
  if (const int function = ClosureFunction(model); function != 0) {
    keys.Record().Digits(std::to_string(function)).Key(kFunctionKey).Key(kConfirmKey);
    if (NeedsSecondConfirm(model)) keys.Record().Key(kConfirmKey);
  } else {
    keys.Record().Key(kConfirmKey).Record().Key(kConfirmKey);
  }
  AddModel6Tail(model, keys);
  keys.KeyPosition(1);
  if (const int error = keys.Queue()) return error;
  // A closure the register took must not be sent again, whatever fails after it.
  Executor().CommitRecord = closureRecord;
  return 0;
}

// Runs every line, each sent at once; the first failure is the result.
int RunLines(std::initializer_list<const char*> lines) {
  int result = 0;
  for (const char* line : lines) {
    const int code = SendKeyBatch(TradExecCommand(line), nullptr, 0);
    if (result == 0) result = code;
  }
  return result;
}

}  // namespace

int CmdDailyClosure() {
  if (const int error = PrepareReportEcr()) return error;
  // Copied now: the nested lines below clear the command's fields.
  const bool reprintAsQr = FieldSwitchOn(kQrSlot);
  const bool sendDocuments = Library().switches.SendZAE;
  if (const int error = QueueClosure(CurrentReportModel())) return error;
  Executor().StopOnRecordError = 1;
  if (!reprintAsQr && !sendDocuments) return 0;

  // The capture must be open before the closure prints its receipt.
  CaptureFile().keepLines = 0;
  if (reprintAsQr) {
    if (const int error = StartReportCapture(kQrFile, 0, true)) return error;
  }
  if (const int error = SendKeyBatch(0, nullptr, 0)) return error;
  int result = sendDocuments ? RunLines({"#121 #6"}) : 0;
  if (reprintAsQr) {
    const int printed = RunLines({"#22 #1=1", "#22 #27='qrcode.txt', #8=158, Scala=1.5 , #16=2", "#22 #2=2"});
    if (result == 0) result = printed;
  }
  return result;
}

}  // namespace quadrel
