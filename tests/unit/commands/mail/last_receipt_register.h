// The simulated register the receipt commands read: its last receipt number
// (the first field of information item 10).
#pragma once

#include "sim_host.h"

namespace mail_test {

// Item 10 answers `lastReceipt` (1-9999), as after that many receipts.
inline void SetLastReceipt(ecrsim::SimRegister& reg, int lastReceipt) {
  reg.keyboard.till.receiptNumber = lastReceipt;
}

}  // namespace mail_test
