// The register's keyboard as the host's key records drive it: the entry of
// digits, the key position, and the programming functions that position 4
// opens. Sales, payments and the programming of tables are not modelled: their
// keys are taken without effect.
#pragma once

#include <cstdint>
#include <span>

namespace ecrsim {

struct StatusBytes;

// Key codes of a key record (after its 'A').
constexpr std::uint8_t kKeyClear = 0;
constexpr std::uint8_t kKeyZero = 10;  // digits 1-9 are keys 1-9
constexpr std::uint8_t kKeyDecimalPoint = 13;
constexpr std::uint8_t kKeyPosition = 14;  // the entry becomes the key position
constexpr std::uint8_t kKeyText = 19;      // followed by a length byte and the text
constexpr std::uint8_t kKeyConfirm = 145;
constexpr std::uint8_t kKeyEnd = 146;

constexpr std::uint8_t kRegPosition = 1;
constexpr std::uint8_t kProgrammingPosition = 4;
constexpr int kMaxEntryDigits = 9;

// Critical codes the keyboard reports; each lasts until the clear key.
constexpr std::uint8_t kCriticalKeySequence = 1;     // a key the register cannot take now
constexpr std::uint8_t kCriticalTransactionOpen = 6;  // key position changed inside a transaction
constexpr std::uint8_t kCriticalNoSuchFunction = 9;   // a programming function the register lacks

class Keyboard {
 public:
  // Runs the keys of one record in order. Once the register is in a critical
  // state only the clear key acts; the keys after it in the record go on.
  void Press(std::span<const std::uint8_t> keys, StatusBytes& status);

  // The number position 4 opens with the confirm key (2 on every built-in model).
  int programmingFunction = 2;
  // The programming function that is open (0: none); the register is not idle meanwhile.
  int openFunction = 0;
  // Digits keyed since the last key that took them.
  int entryDigits = 0;

 private:
  void Key(std::uint8_t key, StatusBytes& status);
  void ChangePosition(StatusBytes& status);
  void Confirm(StatusBytes& status);
  void Fail(std::uint8_t critical, StatusBytes& status);
  void ClearEntry();

  std::uint32_t entry_ = 0;
  bool entryHasPoint_ = false;
};

}  // namespace ecrsim
