// Whether the register can take a command, asked through the host's status
// function of the host-info record.
#pragma once

#include <cstdint>

namespace quadrel {

// Status flags of the host's status record (its first byte).
constexpr int HOST_STATUS_NOT_READY = 0x04;
constexpr int HOST_STATUS_ALMOST_READY = 0x20;

// Longest WaitEcrReady waits for a register that stays busy without the user
// aborting: long enough for a daily closure or a long report to print.
constexpr std::uint32_t kWaitEcrReadyLimitMs = 300000;

constexpr int kWaitEcrReadyStopped = -1;

// True when the host has a status function.
bool HostHasStatus();

// Asks the host's status function for CurrentEcr (mode 1 first ask, 0 repeat).
// Returns the host's result (0 success, else its error n); `flags` receives
// the readiness flags.
int AskHostStatus(int mode, int& flags);

// The executor's readiness check: one ask, then, while the register says it is
// about to be ready, up to 11 more polls 20 ms apart. 0 ready, 512 + n for a
// host error n, 1024 not ready.
int CheckEcrReady();

// Waits until the register is ready. 0 ready (or `wait` 0), -1 stopped by the
// user through the progress callback, 512 + n for a host error n, 1024 when
// it stays busy for `limitMs` milliseconds.
int WaitEcrReady(int wait, std::uint32_t limitMs = kWaitEcrReadyLimitMs);

}  // namespace quadrel
