// Reading the parameter slots of the running command as handlers need them:
// given or not, a bare flag, a whole number.
#pragma once

#include <string>
#include <string_view>

namespace quadrel {

// The value a field written without a value holds.
constexpr std::string_view kBareFlag = "VERO";

// The text of field `slot` (1 to 40); empty for any other slot.
const std::string& FieldText(int slot);

// Field `slot` (1 to 40) holds a value.
bool FieldGiven(int slot);

// Field `slot` was written as a bare flag.
bool FieldIsFlag(int slot);

// Field `slot` sets a switch: a bare flag, or the value 2 (yes in the
// definitions' symbolic values).
bool FieldSwitchOn(int slot);

// Field `slot` holds a whole decimal number (blanks around it and a sign
// allowed) that fits an int: true with `value` set. False for an empty field,
// a flag, a fraction, other characters or a number out of range, so that
// nothing is read as 0 by accident.
bool FieldInteger(int slot, int& value);

// Field `slot` may be keyed as a number: it holds nothing but blanks (keyed
// as nothing, as an empty field) or a number IsKeyedNumber takes with
// `maxDecimals`.
bool FieldKeysNumber(int slot, int maxDecimals);

// Field `slot` read as the register checks read a mode: its leading digits
// after an optional sign, 0 when there are none.
int FieldLeadingNumber(int slot);

}  // namespace quadrel
