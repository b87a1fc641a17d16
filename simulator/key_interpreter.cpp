#include "key_interpreter.h"

#include "sim_register.h"

namespace ecrsim {
namespace {

constexpr std::uint8_t kStateIdle = 0x01;
constexpr std::uint8_t kStateNotReady = 0x04;
constexpr std::uint8_t kTransactionOpen = 0x01;

int DigitOfKey(std::uint8_t key) {
  if (key >= 1 && key <= 9) return key;
  return key == kKeyZero ? 0 : -1;
}

}  // namespace

void Keyboard::Press(std::span<const std::uint8_t> keys, StatusBytes& status) {
  for (std::size_t i = 0; i < keys.size(); ++i) {
    if (keys[i] != kKeyText) {
      Key(keys[i], status);
      continue;
    }
    // A text runs to its length byte; a record that ends before it is malformed.
    if (i + 1 >= keys.size() || keys.size() - (i + 2) < keys[i + 1]) {
      Fail(kCriticalKeySequence, status);
      return;
    }
    i += 1 + keys[i + 1];
  }
}

void Keyboard::Key(std::uint8_t key, StatusBytes& status) {
  if (key == kKeyClear) {
    ClearEntry();
    status.critical = 0;
    status.state &= static_cast<std::uint8_t>(~kStateNotReady);
    return;
  }
  if (status.critical != 0) return;
  if (const int digit = DigitOfKey(key); digit >= 0) {
    if (entryDigits >= kMaxEntryDigits) return Fail(kCriticalKeySequence, status);
    entry_ = entry_ * 10 + static_cast<std::uint32_t>(digit);
    ++entryDigits;
    return;
  }
  switch (key) {
    case kKeyDecimalPoint:
      if (entryHasPoint_) return Fail(kCriticalKeySequence, status);
      entryHasPoint_ = true;
      return;
    case kKeyPosition:
      return ChangePosition(status);
    case kKeyConfirm:
      return Confirm(status);
    case kKeyEnd:
      if (openFunction != 0) {
        openFunction = 0;
        status.state |= kStateIdle;
      }
      ClearEntry();
      return;
    default:
      return;  // sales, payments and table keys are not modelled
  }
}

// The entry, one digit without a point, becomes the key position. Inside a
// transaction the key stays where it is.
void Keyboard::ChangePosition(StatusBytes& status) {
  if (entryDigits != 1 || entryHasPoint_) return Fail(kCriticalKeySequence, status);
  if (status.transaction & kTransactionOpen) return Fail(kCriticalTransactionOpen, status);
  status.keyPosition = static_cast<std::uint8_t>(entry_);
  openFunction = 0;
  status.state |= kStateIdle;
  ClearEntry();
}

// In position 4 without an open function the entry names the function to
// open (without an entry the key does nothing there); inside a function the
// key confirms a field.
void Keyboard::Confirm(StatusBytes& status) {
  if (status.keyPosition == kProgrammingPosition && openFunction == 0 && entryDigits > 0) {
    if (entryHasPoint_) return Fail(kCriticalKeySequence, status);
    if (entry_ != static_cast<std::uint32_t>(programmingFunction)) return Fail(kCriticalNoSuchFunction, status);
    openFunction = programmingFunction;
    status.state &= static_cast<std::uint8_t>(~kStateIdle);
  }
  ClearEntry();
}

void Keyboard::Fail(std::uint8_t critical, StatusBytes& status) {
  status.critical = critical;
  status.state |= kStateNotReady;
  ClearEntry();
}

void Keyboard::ClearEntry() {
  entry_ = 0;
  entryDigits = 0;
  entryHasPoint_ = false;
}

}  // namespace ecrsim
