#include "document_key.h"

#include <cstdint>

#include "config/ecr_config_read.h"
#include "config/model_table.h"
#include "language/command_field_values.h"
#include "language/result_codes.h"
#include "link/key_records.h"
#include "link/register_checks.h"
#include "link/text_line_records.h"
#include "state/ecr_config.h"
#include "state/executor_state.h"

namespace quadrel {
namespace {

enum DocumentKeyField : int { kFieldChoice = 1, kFieldKey187 = 2, kFieldNumber = 3, kFieldFirstLine = 4 };

constexpr std::uint8_t kKeyNumber = 65;
constexpr std::uint8_t kKey187 = 187;
constexpr std::uint8_t kDocumentKeys[] = {'+', ',', '-'};  // choices 1, 2, 3
constexpr int kFeatureKey187 = 23;
constexpr int kFeatureDocumentTexts = 58;

// Key 187 came with firmware 63, or with 26 on registers that list it.
bool HasKey187() {
  const EcrConfigRecord& record = CurrentRecord();
  return record.FirmwareLevel >= 63 || (HasFeature(kFeatureKey187) && record.FirmwareLevel >= 26);
}

}  // namespace

int CmdKeyWithTextLines() {
  if (const int read = ReadEcrConfig(0); read != 0) return read;
  Executor().StopOnRecordError = 1;
  if (!EcrIdle()) return kResultEcrNotIdle;
  int choice = 0;
  if (!FieldInteger(kFieldChoice, choice) || choice < 1 || choice > 3) return kResultEmBoardNotInitialised;
  int key187 = 0;
  const bool withKey187 = FieldInteger(kFieldKey187, key187) && key187 == 1;
  if (withKey187 && !HasKey187()) return kResultVersionNotSupported;

  KeyRecords keys;
  if (choice >= 2 && FeatureLevel(kFeatureDocumentTexts) > 1) AddDocumentLines(keys, kFieldFirstLine);
  keys.Record();
  if (FieldGiven(kFieldNumber)) keys.Key(kKeyNumber).Digits(FieldText(kFieldNumber));
  keys.Key(kDocumentKeys[choice - 1]);
  if (withKey187) keys.Record().Key(kKey187);
  return keys.Queue();
}

}  // namespace quadrel
