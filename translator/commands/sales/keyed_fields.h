// The amounts, prices and quantities the sales and amount-key commands key
// in, checked whole before any key record is built: a letter, a comma or a
// blank inside would key the clear key mid-number and sell another amount.
#pragma once

#include <initializer_list>

namespace quadrel {

enum class KeyedValue { Amount, Quantity };

struct KeyedField {
  int slot;
  KeyedValue kind;
};

// 0 when every field may be keyed (FieldKeysNumber with the register's
// decimals for an amount, kQuantityDecimals for a quantity); 265 when one
// may not; the configuration read's code when the register's decimals are
// not known and cannot be read.
int CheckKeyedFields(std::initializer_list<KeyedField> fields);

}  // namespace quadrel
