#include "field_records.h"

#include <cstdint>
#include <string>

#include "config/ecr_config_read.h"
#include "config/model_table.h"
#include "language/command_field_values.h"
#include "language/result_codes.h"
#include "link/key_records.h"
#include "link/register_checks.h"
#include "state/executor_state.h"
#include "text/code_page.h"

namespace quadrel {
namespace {

enum FieldRecordField : int { kFieldNumber = 1, kFieldSecond = 2, kFieldPrefix = 3, kFieldText = 4 };

constexpr std::uint8_t kKeyConfirm = 145;
constexpr int kFeatureFieldRecords = 117;

int QueueFieldRecord(std::uint8_t fieldKey) {
  if (const int read = ReadEcrConfig(0); read != 0) return read;
  Executor().StopOnRecordError = 1;
  if (!HasFeature(kFeatureFieldRecords)) return kResultVersionNotSupported;
  if (!EcrIdle()) return kResultEcrNotIdle;
  if (!InRegPosition()) return kResultNotInRegPosition;
  const bool numbered = FieldGiven(kFieldNumber);
  if (numbered && !FieldGiven(kFieldSecond)) return kResultMandatoryField;

  KeyRecords keys;
  keys.Record().Key(fieldKey).Key(kKeyConfirm);
  if (FieldGiven(kFieldText)) keys.TextBytes(PcToEcrText(FieldText(kFieldText))).Key(kKeyConfirm);
  if (numbered) keys.Digits(FieldText(kFieldPrefix) + FieldText(kFieldNumber));
  keys.Key(kKeyConfirm);
  if (numbered) keys.Digits(FieldText(kFieldSecond)).Key(kKeyConfirm);
  return keys.Queue();
}

}  // namespace

int CmdFieldRecord180() {
  return QueueFieldRecord(180);
}
int CmdFieldRecord188() {
  return QueueFieldRecord(188);
}

}  // namespace quadrel
