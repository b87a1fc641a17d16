#include "commands/session/options_command.h"

#include <filesystem>
#include <system_error>

#include "language/command_field_values.h"
#include "language/command_fields.h"
#include "state/library_state.h"

namespace quadrel {
namespace {

enum OptionField : int {
  kFieldDirectory = 1,
  kFieldOutEditOptions = 2,
  kFieldDataCaptureFormat = 3,
  kFieldStopOnConfirm = 4,
  kFieldWaitReadyMode = 5,
  kFieldSkipStatusForSales = 6,
  kFieldStopBatchOnError = 7,
};

bool SetWorkingDirectory() {
  std::error_code error;
  std::filesystem::current_path(std::filesystem::path(CommandFields().value[kFieldDirectory]), error);
  return !error;
}

// A whole number within [low, high] into `option`; false leaves it unchanged.
bool SetRangeOption(int slot, int low, int high, int& option) {
  int value = 0;
  if (!FieldInteger(slot, value) || value < low || value > high) return false;
  option = value;
  return true;
}

// A switch: a bare flag or 2 switches it on, 1 off; false leaves it unchanged.
bool SetSwitchOption(int slot, int& option) {
  if (FieldIsFlag(slot)) {
    option = 1;
    return true;
  }
  int value = 0;
  if (!FieldInteger(slot, value) || (value != 1 && value != 2)) return false;
  option = value - 1;
  return true;
}

}  // namespace

int CmdSetOptions() {
  TranslatorOptions& options = Library().options;
  bool refused = false;
  if (FieldGiven(kFieldDirectory)) {
    if (FieldIsFlag(kFieldDirectory)) return kResultSetPropertyError;
    refused |= !SetWorkingDirectory();
  }
  if (FieldGiven(kFieldOutEditOptions))
    refused |= !SetRangeOption(kFieldOutEditOptions, 0, 3, options.OutEditOptions);
  if (FieldGiven(kFieldDataCaptureFormat))
    refused |= !SetRangeOption(kFieldDataCaptureFormat, 1, 2, options.DataCaptureFormat);
  if (FieldGiven(kFieldStopOnConfirm))
    refused |= !SetSwitchOption(kFieldStopOnConfirm, options.StopOnConfirm);
  // The same switch as the others, so that the readiness wait can be switched off again.
  if (FieldGiven(kFieldWaitReadyMode))
    refused |= !SetSwitchOption(kFieldWaitReadyMode, options.WaitReadyMode);
  if (FieldGiven(kFieldSkipStatusForSales))
    refused |= !SetSwitchOption(kFieldSkipStatusForSales, options.SkipStatusForSales);
  if (FieldGiven(kFieldStopBatchOnError) &&
      !SetSwitchOption(kFieldStopBatchOnError, options.StopBatchOnError))
    return kResultSetPropertyError;
  return refused ? kResultSetPropertyError : 0;
}

}  // namespace quadrel
