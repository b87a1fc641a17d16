// What the handlers ask of the register before they queue keys: its state
// from the last status answer and the functions its configuration record
// lists.
#pragma once

namespace quadrel {

// Idle: state bit 0 set and neither an open transaction nor bit 5 in the
// transaction flags.
bool EcrIdle();
// A transaction is open (transaction flags bit 0).
bool TransactionOpen();
// The key is in the REG position.
bool InRegPosition();
// Function level `index` (0..127) of the current record is not 0.
bool HasFeature(int index);
// Function level `index` of the current record.
int FeatureLevel(int index);
// The register keeps a second key map ('C' 9): function level 95.
bool HasSecondKeyMap();
// The register keeps currencies (table 8), each with the two numbers after
// its rate: function level 18. Without it command 37 answers 279.
bool HasCurrencyTable();
// The register keeps groups (table 14): function level 41 (else 273).
bool HasGroupTable();

}  // namespace quadrel
