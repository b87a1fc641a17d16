#include "commands/chip_card/chip_card_command.h"

#include <string>

#include "commands/chip_card/card_operations.h"
#include "language/command_field_values.h"
#include "language/result_codes.h"

namespace quadrel {
namespace {

constexpr int kPersonalise = 1;
constexpr int kSale = 2;
constexpr int kValue = 3;
constexpr int kLastAmounts = 7;
constexpr int kLastOperation = 10;
constexpr int kMaxCardNumber = 9999;
constexpr int kCardNumberBytes = 2;

// The card number value from #13; 0 without it.
bool CardNumberValue(CardBytes& value) {
  int number = 0;
  if (FieldGiven(kCardNumberSource) &&
      (!FieldInteger(kCardNumberSource, number) || number < 0 || number > kMaxCardNumber))
    return false;
  return AppendCardBcd(value, std::to_string(number), kCardNumberBytes);
}

}  // namespace

int CmdChipCard() {
  int operation = 0;
  if (!FieldGiven(kCardOperation)) return kResultMandatoryField;
  if (FieldIsFlag(kCardType) || !FieldInteger(kCardOperation, operation) || operation < 1 ||
      operation > kLastOperation)
    return kResultIllegalValue;
  CardBytes cardNumber;
  if (!CardNumberValue(cardNumber)) return kResultIllegalValue;
  if (operation == kPersonalise) return PersonaliseCard(cardNumber);
  if (operation == kSale) return UseCardInSale();
  if (operation == kValue) return WriteCardValue();
  if (operation <= kLastAmounts) return BookCardAmounts(operation, cardNumber);
  return ShortCardOperation(operation, cardNumber);
}

}  // namespace quadrel
