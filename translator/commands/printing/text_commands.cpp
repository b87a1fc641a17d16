#include "text_commands.h"

#include "config/ecr_config_read.h"
#include "language/command_field_values.h"
#include "link/key_records.h"
#include "link/text_line_records.h"
#include "state/executor_state.h"

namespace quadrel {
namespace {

// Field `slot` as a text line of `kind` and `sub` when given.
void AddGivenLine(KeyRecords& keys, int slot, std::uint8_t kind, std::uint8_t sub) {
  if (FieldGiven(slot)) AddTextLine(keys, kind, sub, PrintLineBytes(FieldText(slot)));
}

}  // namespace

int CmdTextFields() {
  if (const int read = ReadEcrConfig(0); read != 0) return read;
  Executor().StopOnRecordError = 1;
  KeyRecords keys;
  AddGivenLine(keys, 1, kTextLineField, 0);
  AddGivenLine(keys, 2, kTextLineField, 1);
  return keys.Queue();
}

int CmdTextLine() {
  if (const int read = ReadEcrConfig(0); read != 0) return read;
  if (FieldGiven(1)) Executor().StopOnRecordError = 1;
  KeyRecords keys;
  AddGivenLine(keys, 1, kTextLinePlain, 0);
  return keys.Queue();
}

}  // namespace quadrel
