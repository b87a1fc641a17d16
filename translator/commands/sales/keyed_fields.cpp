#include "commands/sales/keyed_fields.h"

#include <algorithm>

#include "config/ecr_config_read.h"
#include "language/command_field_values.h"
#include "language/number_helpers.h"
#include "language/result_codes.h"
#include "state/ecr_config.h"

namespace quadrel {

int CheckKeyedFields(std::initializer_list<KeyedField> fields) {
  if (std::none_of(fields.begin(), fields.end(),
                   [](const KeyedField& field) { return FieldGiven(field.slot); }))
    return 0;
  if (const int read = ReadEcrConfig(0)) return read;
  const int amountDecimals = CurrentRecord().Decimals;
  for (const KeyedField& field : fields) {
    const int decimals = field.kind == KeyedValue::Quantity ? kQuantityDecimals : amountDecimals;
    if (!FieldKeysNumber(field.slot, decimals)) return kResultIllegalValue;
  }
  return 0;
}

}  // namespace quadrel
