// The operations of the chip-card command and what they share: the card
// number value, the wait flag and the exchange of one card frame.
#pragma once

#include "commands/chip_card/card_fields.h"

namespace quadrel {

enum CardField : int {
  kCardOperation = 1,
  kCardType = 2,
  kCardOwnerCode = 3,
  kCardOwnerName = 4,
  kCardNumber = 5,
  kCardLevel = 6,
  kCardHex = 7,
  kCardByte8 = 8,
  kCardFirstLine = 9,
  kCardLastLine = 12,
  kCardNumberSource = 13,
  kCardWait = 14,
  kCardValue = 15,
  kCardValueSlot = 16,
  kCardPayment = 17,
  kCardReturn = 18,
  kCardCredit = 19,
  kCardEnable = 20,
  kCardAmount1 = 21,
  kCardAmount2 = 22,
  kCardCount = 23,
};

// 0 when the register is idle, else 6.
int RequireIdle();
// The reader query, waiting for a card when #14 asks to.
int WaitForCard();
// Sends `frame`; the exchange's code, 25 when answer byte 1 is not 0, else 0.
int SendCardFrame(const CardBytes& frame, int flags);

// Each operation with the card number value (2 BCD bytes) from #13.
int PersonaliseCard(CardBytes cardNumber);
int UseCardInSale();
int WriteCardValue();
int BookCardAmounts(int operation, const CardBytes& cardNumber);
int ShortCardOperation(int operation, const CardBytes& cardNumber);

}  // namespace quadrel
