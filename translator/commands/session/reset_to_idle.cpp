#include "reset_to_idle.h"

#include "language/result_codes.h"
#include "link/frame_exchange.h"
#include "link/register_link.h"
#include "platform/platform.h"

namespace quadrel {
namespace {

constexpr std::uint8_t kKeyFrame = 'A';
constexpr std::uint8_t kKeyClear = 0;
constexpr std::uint8_t kKeyPayCash = '1';
constexpr std::uint8_t kKeyClose = ':';
constexpr std::uint8_t kKeyConfirm = 145;

constexpr int kStateIdle = 0x01;
constexpr int kStateNotReady = 0x04;
constexpr int kStatePending = 0x08;
constexpr int kStateEntryPending = 0x41;
constexpr int kStatePaymentA = 0x60;
constexpr int kStatePaymentB = 0x42;
constexpr int kTransactionOpen = 0x01;
constexpr int kTransactionInPayment = 0x21;
constexpr int kTransactionBit5 = 0x20;
constexpr int kBlockedCode43 = 43;
constexpr int kBlockedCode22 = 22;

ResetPauseFunction resetPause = nullptr;

void Pause(std::uint32_t ms) {
  if (resetPause) {
    resetPause(ms);
  } else {
    platform::SleepMilliseconds(ms);
  }
}

bool SendKey(std::uint8_t key) {
  int error = 0;
  return SendFrame2(kKeyFrame, key, error);
}

// What an attempt ended with: a result to return, or another attempt.
struct Outcome {
  bool done = false;
  int result = 0;
};
constexpr Outcome kTryAgain{};
constexpr Outcome Return(int result) {
  return {true, result};
}

// A critical state: the clear key ends it unless the register stays blocked.
Outcome ClearCriticalState() {
  IsEcrReady();
  if (!SendKey(kKeyClear) || ReadEcrStatus() != 0) return kTryAgain;
  const int code = EcrStatusBytes().criticalCode;
  if (code == kBlockedCode43) return Return(kResultStillBlocked43);
  if (code == kBlockedCode22) return Return(kResultStillBlocked22);
  return kTryAgain;
}

Outcome Attempt() {
  if (ReadEcrStatus() != 0) return kTryAgain;
  const EcrStatusFields& status = EcrStatusBytes();
  if (status.state & kStateNotReady) return ClearCriticalState();
  if (status.state & kStatePending) {
    SendKey(kKeyClear);
    return kTryAgain;
  }
  // An entry pending outside a transaction is cleared; inside one the
  // transaction is judged as it is.
  bool mayPay = true;
  if (status.state == kStateEntryPending) {
    if (status.transactionFlags != 0) {
      mayPay = false;
    } else if (!SendKey(kKeyClear)) {
      return kTryAgain;
    }
  }
  if (mayPay && (status.state == kStatePaymentA || status.state == kStatePaymentB) &&
      status.transactionFlags == kTransactionInPayment) {
    SendKey(kKeyPayCash);
    return kTryAgain;
  }
  const bool open = (status.transactionFlags & kTransactionOpen) != 0;
  if (((status.state & kStateIdle) && !open) ||
      !(status.transactionFlags & (kTransactionOpen | kTransactionBit5)))
    return Return(0);
  if (!SendKey(kKeyClose) || !SendKey(kKeyConfirm)) return kTryAgain;
  return Return(kResultPendingTransactionClosed);
}

}  // namespace

void SetResetToIdlePause(ResetPauseFunction pause) {
  resetPause = pause;
}

int CmdResetToIdle() {
  for (int attempt = 1; attempt <= kResetAttempts; ++attempt) {
    if (const Outcome outcome = Attempt(); outcome.done) return outcome.result;
    if (attempt < kResetAttempts) Pause(kResetPauseMs);
  }
  return kResultResetGaveUp;
}

}  // namespace quadrel
