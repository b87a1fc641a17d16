#include "key158_sequence.h"

#include <cstdint>

#include "config/model_table.h"
#include "language/command_field_values.h"
#include "language/result_codes.h"
#include "link/key_records.h"
#include "link/register_checks.h"
#include "link/text_line_records.h"
#include "state/executor_state.h"

namespace quadrel {
namespace {

enum Key158Field : int {
  kFieldNumber = 1,
  kFieldDouble = 2,
  kFieldInTransaction = 3,
  kFieldKind = 4,
  kFieldFirstLine = 5
};

constexpr std::uint8_t kKey158 = 158;
constexpr std::uint8_t kKey159 = 159;
constexpr int kFeatureKey158 = 85;
constexpr int kFeatureDocumentTexts = 58;

bool KindAllowed(int kind) {
  return (kind >= 0 && kind <= 3) || kind == 9;
}

}  // namespace

int CmdKey158Sequence() {
  if (!HasFeature(kFeatureKey158)) return kResultVersionNotSupported;
  const bool doubleKey = FieldIsFlag(kFieldDouble);
  const bool inTransaction = FieldIsFlag(kFieldInTransaction);
  if (doubleKey && !FieldGiven(kFieldNumber)) return kResultMandatoryField;
  const bool kindGiven = FieldGiven(kFieldKind);
  const bool kindKeyed = !FieldIsFlag(kFieldKind);
  int kind = 0;
  if (kindGiven && kindKeyed && (!FieldInteger(kFieldKind, kind) || !KindAllowed(kind)))
    return kResultIllegalValue;

  KeyRecords keys;
  if (doubleKey) {
    if (!EcrIdle()) return kResultEcrNotIdle;
    keys.Record().Digits(FieldText(kFieldNumber)).Key(kKey158).Key(kKey158);
  }
  if (inTransaction) {
    if (!TransactionOpen()) return kResultNoTransactionOpen;
    keys.Record().Key(kKey158);
    return keys.Queue();
  }
  if (kindGiven) {
    if (!EcrIdle()) return kResultEcrNotIdle;
    Executor().StopOnRecordError = 1;
    if ((kind == 2 || kind == 3) && FeatureLevel(kFeatureDocumentTexts) > 1)
      AddDocumentLines(keys, kFieldFirstLine);
    keys.Record().Digits(FieldText(kFieldNumber)).Key(kKey158);
    keys.Record();
    if (kindKeyed) keys.Digits(FieldText(kFieldKind));
    keys.Key(kKey159);
  }
  return keys.Queue();
}

}  // namespace quadrel
