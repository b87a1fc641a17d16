// Command 5: choosing the register that the following commands talk to, and
// on dial-up and network connections asking the host to connect to it.
#pragma once

#include <cstdint>

#include "language/result_codes.h"

namespace quadrel {

// Network connection time-out in seconds: the default and the range of #4.
constexpr int kConnectTimeOutDefault = 30;
constexpr int kConnectTimeOutMax = 180;

// Pause after a connection before the first frame.
constexpr std::uint32_t kAfterConnectPauseMs = 500;

// Fields: #1 register number (the connection target on dial-up and network
// connections), #2 bare flag: only disconnect (network), #3 bare flag: keep
// the cached configuration, #4 connection time-out in seconds (network).
//
// Locally #1 must be 1 to 24, or 0 in multi-register mode (broadcast to every
// register); anything else gives 275 before any state changes. A failed
// connection gives 27 (also when the user stopped it), 28 or 29; a failed
// configuration read returns its code. Every failure leaves no register
// selected (and a connection made for it closed again).
int CmdSelectEcr();

// How command 5 pauses after connecting. Null restores the platform's sleep;
// tests put a recorder here.
using SelectPauseFunction = void (*)(std::uint32_t ms);
void SetSelectEcrPause(SelectPauseFunction pause);

}  // namespace quadrel
