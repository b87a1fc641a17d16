// Command 74: brings the register back to its idle state from whatever it
// was doing, talking to it at once rather than through the key queue.
#pragma once

#include <cstdint>

namespace quadrel {

constexpr int kResetAttempts = 5;
constexpr std::uint32_t kResetPauseMs = 1000;  // between two attempts

// 0 once the register is idle. Clears a critical state or a pending entry,
// pays a transaction that is in its payment, and closes any other open
// transaction with keys 58 and 145 (1027). 1025 or 1026 when the register
// stays blocked by the state the clear key cannot end, 512 after five
// attempts. Every frame is a two-byte frame sent at once.
int CmdResetToIdle();

// How command 74 pauses between attempts. Null restores the platform's
// sleep; tests put a recorder here.
using ResetPauseFunction = void (*)(std::uint32_t ms);
void SetResetToIdlePause(ResetPauseFunction pause);

}  // namespace quadrel
