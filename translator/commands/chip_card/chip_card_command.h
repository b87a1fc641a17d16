// Command 47: the register's chip-card reader. Operation #1 selects the job:
// 1 personalise a blank card, 2 use the card in a sale, 3 write a card value,
// 4 to 7 book amounts, 8 to 10 the short card operations.
#pragma once

namespace quadrel {

// #13, when given, is the card number the frames carry: a whole number
// 0..9999 (else 265). #14 "VERO" or 2: wait for a card to be inserted.
// 25 for a missing card, a card in the wrong state or a reader that answers
// with a non-zero code; 26 when operation 1 finds a personalised card.
int CmdChipCard();

}  // namespace quadrel
