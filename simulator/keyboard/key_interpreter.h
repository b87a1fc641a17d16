// The register's keyboard as the host's key records drive it: the entry of
// digits, texts, the key position, the programming functions that position 4
// opens, and in the REG position the sales keys that the till turns into
// receipts. After every record the state byte shows what the keyboard is in.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "keyboard/program_tables.h"
#include "keyboard/setting_functions.h"
#include "till/report_functions.h"
#include "till/till.h"

namespace ecrsim {

struct StatusBytes;
class Printer;
class ChipCard;

// Key codes of a key record (after its 'A').
constexpr std::uint8_t kKeyClear = 0;
constexpr std::uint8_t kKeyZero = 10;  // digits 1-9 are keys 1-9
constexpr std::uint8_t kKeyDecimalPoint = 13;
constexpr std::uint8_t kKeyPosition = 14;  // the entry becomes the key position
constexpr std::uint8_t kKeyText = 19;      // followed by a length byte and the text
constexpr std::uint8_t kKeyDepartment = 24;
constexpr std::uint8_t kKeyArticle = 25;
constexpr std::uint8_t kKeyPrice = 26;
constexpr std::uint8_t kKeyQuantity = 27;
constexpr std::uint8_t kKeyRefund = 28;
constexpr std::uint8_t kKeyPercentOff = 31;
constexpr std::uint8_t kKeyPercentOn = 32;
constexpr std::uint8_t kKeyAmountOff = 33;
constexpr std::uint8_t kKeyAmountOn = 34;
constexpr std::uint8_t kKeySubtotal = '$';
constexpr std::uint8_t kKeyDescription = 42;
constexpr std::uint8_t kKeyPrintText = '8';
constexpr std::uint8_t kKeyCancel = ':';
constexpr std::uint8_t kKeyVoid = 59;
constexpr std::uint8_t kKeyConfirm = 145;
constexpr std::uint8_t kKeyEnd = 146;
constexpr std::uint8_t kKeyTable = 147;
constexpr std::uint8_t kKeyChipCard = 148;  // the next payment key pays with the chip card

constexpr std::uint8_t kRegPosition = 1;
constexpr std::uint8_t kProgrammingPosition = 4;
constexpr int kMaxEntryDigits = 9;
// Inside a programming function an entry may be a 14-digit code.
constexpr int kMaxFunctionEntryDigits = 18;

// Critical codes the keyboard reports; each lasts until the clear key.
constexpr std::uint8_t kCriticalTransactionOpen = 6;  // key position changed inside a transaction
constexpr std::uint8_t kCriticalNoSuchFunction = 9;   // a programming function the register lacks
constexpr std::uint8_t kCriticalNotInReg = 11;        // a sales key outside the REG position

// State bytes the keyboard shows (bit 2 is added during a critical state).
constexpr std::uint8_t kStateIdle = 0x01;
constexpr std::uint8_t kStateEntry = 0x41;       // digits keyed, no key has taken them
constexpr std::uint8_t kStateSale = 0x02;        // a receipt open
constexpr std::uint8_t kStateSubtotal = 0x60;    // payment begun with the subtotal key
constexpr std::uint8_t kStatePartlyPaid = 0x42;  // payment begun with a payment
constexpr std::uint8_t kStateConfirm = 0x08;     // the cancel key waits for its confirmation
constexpr std::uint8_t kStateFunction = 0x00;    // inside a programming function
constexpr std::uint8_t kStateNotReady = 0x04;

class Keyboard {
 public:
  Keyboard(Printer& printer, const RegisterConfig& config)
      : till(printer), tables(config), printer_(printer) {}

  // Runs the keys of one record in order. Once the register is in a critical
  // state only the clear key acts; the keys after it in the record go on.
  void Press(std::span<const std::uint8_t> keys, StatusBytes& status);

  // The number position 4 opens with the confirm key (2 on every built-in model).
  int programmingFunction = 2;
  // The programming function that is open (0: none); the register is not idle meanwhile.
  int openFunction = 0;
  // Digits keyed since the last key that took them.
  int entryDigits = 0;
  Till till;
  ProgramTables tables;
  SettingFunctions settings;
  ReportFunctions* reports = nullptr;  // the register's report functions, when it has them
  ChipCard* card = nullptr;            // the reader's card, for key 148

 private:
  void Key(std::uint8_t key, StatusBytes& status);
  bool SalesKey(std::uint8_t key, StatusBytes& status);
  void Sell(bool department, StatusBytes& status);
  void Pay(int type, StatusBytes& status);
  void ChipCardKey(StatusBytes& status);
  void ChangePosition(StatusBytes& status);
  void Confirm(StatusBytes& status);
  bool ReportConfirm(StatusBytes& status);
  void DropReport();
  void TableKey(std::uint8_t key, StatusBytes& status);
  // The entry as keyed ("" when none).
  std::string EntryText() const;
  void Fail(std::uint8_t critical, StatusBytes& status);
  void ClearEntry();
  void ClearSale();
  // The entry in hundredths (or thousandths); false for more decimals than that.
  bool EntryScaled(int decimals, std::int64_t& value) const;
  void ComposeState(StatusBytes& status) const;

  Printer& printer_;
  std::uint64_t entry_ = 0;
  bool entryHasPoint_ = false;
  int entryDecimals_ = 0;
  std::string text_;               // the last text field
  bool textKeyed_ = false;         // a text waits for a table field
  bool descriptionKeyed_ = false;  // key 42 waits for its text and 145
  bool cancelAsked_ = false;       // key 58 waits for 145
  bool cardPayment_ = false;       // key 148 chose the card for the next payment
  SaleEntry sale_;                 // what the keys before a department or article key gave
  int reportFunction_ = 0;         // a function number keyed with 147, waiting for 145
};

// The payment type of a payment key (0: not a payment key): '1' '2' '3' '4'
// '6' '>' for types 1-5 and 10, codes 125-144 for themselves.
int PaymentTypeOfKey(std::uint8_t key);

}  // namespace ecrsim
