#include "keyboard/key_interpreter.h"

#include <algorithm>
#include <optional>

#include "printer/print_lines.h"
#include "stores/chip_card.h"
#include "wire/register_answer.h"

namespace ecrsim {
namespace {

constexpr std::uint8_t kTransactionOpen = 0x01;
constexpr int kCurrencyDecimals = 2;
constexpr int kQuantityDecimals = 3;
constexpr int kPercentDecimals = 2;
constexpr std::uint8_t kFirstCodedPayment = 125;
constexpr std::uint8_t kLastCodedPayment = 144;  // 145 is the confirm key

int DigitOfKey(std::uint8_t key) {
  if (key >= 1 && key <= 9) return key;
  return key == kKeyZero ? 0 : -1;
}

// A text-line field: kind, sub, the text up to its zero byte (two texts of
// kind 1 are printed with a blank between them).
std::string TextLineOf(const std::string& field) {
  if (field.size() < 2) return {};
  std::string text = field.substr(2);
  if (!text.empty() && text.back() == '\0') text.pop_back();
  for (char& c : text)
    if (c == '\0') c = ' ';
  return text;
}

}  // namespace

int PaymentTypeOfKey(std::uint8_t key) {
  switch (key) {
    case '1':
      return 1;
    case '2':
      return 2;
    case '3':
      return 3;
    case '4':
      return 4;
    case '6':
      return 5;
    case '>':
      return 10;
    default:
      return key >= kFirstCodedPayment && key <= kLastCodedPayment ? key : 0;
  }
}

void Keyboard::Press(std::span<const std::uint8_t> keys, StatusBytes& status) {
  tables.StartRecord();
  for (std::size_t i = 0; i < keys.size(); ++i) {
    if (keys[i] != kKeyText) {
      Key(keys[i], status);
      continue;
    }
    // A text runs to its length byte; a record that ends before it is malformed.
    if (i + 1 >= keys.size() || keys.size() - (i + 2) < keys[i + 1]) {
      Fail(kCriticalKeySequence, status);
      break;
    }
    if (status.critical == 0) {
      text_.assign(keys.begin() + static_cast<std::ptrdiff_t>(i + 2),
                   keys.begin() + static_cast<std::ptrdiff_t>(i + 2 + keys[i + 1]));
      textKeyed_ = true;
    }
    i += 1 + keys[i + 1];
  }
  ComposeState(status);
}

void Keyboard::Key(std::uint8_t key, StatusBytes& status) {
  if (key == kKeyClear) {
    ClearEntry();
    ClearSale();
    cancelAsked_ = false;
    DropReport();
    // The printer's condition outlasts the key.
    status.critical = printer_.fault;
    return;
  }
  if (status.critical != 0) return;
  if (openFunction != 0 && (key == kKeyConfirm || key == kKeyEnd || key == kKeyTable))
    return TableKey(key, status);
  if (const int digit = DigitOfKey(key); digit >= 0) {
    if (entryDigits >= (openFunction != 0 ? kMaxFunctionEntryDigits : kMaxEntryDigits))
      return Fail(kCriticalKeySequence, status);
    entry_ = entry_ * 10 + static_cast<std::uint64_t>(digit);
    ++entryDigits;
    if (entryHasPoint_) ++entryDecimals_;
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
      openFunction = 0;
      ClearEntry();
      return;
    case kKeyTable:
      // Outside a function only the report positions choose with it.
      if ((status.keyPosition == kReadPosition || status.keyPosition == kResetPosition) && entryDigits > 0 &&
          !entryHasPoint_)
        reportFunction_ = static_cast<int>(entry_);
      ClearEntry();
      return;
    case kKeyChipCard:
      return ChipCardKey(status);
    default:
      break;
  }
  if (SalesKey(key, status)) return;
  ClearEntry();  // document and table keys are taken without effect
}

// Keys of the REG position. False for a key that is none of them.
bool Keyboard::SalesKey(std::uint8_t key, StatusBytes& status) {
  const int paymentType = PaymentTypeOfKey(key);
  static constexpr std::uint8_t kSalesKeys[] = {
      kKeyDepartment, kKeyArticle,   kKeyPrice,    kKeyQuantity, kKeyRefund,      kKeyVoid,   kKeyPercentOff,
      kKeyPercentOn,  kKeyAmountOff, kKeyAmountOn, kKeySubtotal, kKeyDescription, kKeyCancel, kKeyPrintText};
  bool known = paymentType != 0;
  for (std::uint8_t salesKey : kSalesKeys) known |= key == salesKey;
  if (!known) return false;
  if (status.keyPosition != kRegPosition) {
    Fail(kCriticalNotInReg, status);
    return true;
  }
  if (paymentType != 0) {
    Pay(paymentType, status);
    return true;
  }
  std::int64_t value = 0;
  switch (key) {
    case kKeyDepartment:
    case kKeyArticle:
      Sell(key == kKeyDepartment, status);
      return true;
    case kKeyPrice:
    case kKeyQuantity: {
      const int decimals = key == kKeyPrice ? kCurrencyDecimals : kQuantityDecimals;
      if (entryDigits == 0 || !EntryScaled(decimals, value)) {
        Fail(kCriticalKeySequence, status);
        return true;
      }
      (key == kKeyPrice ? sale_.price : sale_.quantity) = value;
      break;
    }
    case kKeyRefund:
      sale_.refund = true;
      break;
    case kKeyVoid:
      sale_.voids = true;
      break;
    case kKeyPercentOff:
    case kKeyPercentOn:
    case kKeyAmountOff:
    case kKeyAmountOn: {
      static constexpr Adjustment kinds[] = {Adjustment::PercentOff, Adjustment::PercentOn,
                                             Adjustment::AmountOff, Adjustment::AmountOn};
      const int decimals = key <= kKeyPercentOn ? kPercentDecimals : kCurrencyDecimals;
      if (entryDigits == 0 || !EntryScaled(decimals, value)) {
        Fail(kCriticalKeySequence, status);
        return true;
      }
      if (const int critical = till.Adjust(kinds[key - kKeyPercentOff], value, status))
        Fail(static_cast<std::uint8_t>(critical), status);
      break;
    }
    case kKeySubtotal:
      if (const int critical = till.Subtotal(status)) Fail(static_cast<std::uint8_t>(critical), status);
      break;
    case kKeyDescription:
      descriptionKeyed_ = true;
      text_.clear();
      break;
    case kKeyCancel:
      if (!(status.transaction & kTransactionOpen)) {
        Fail(kCriticalNoReceipt, status);
        return true;
      }
      cancelAsked_ = true;
      break;
    case kKeyPrintText:
      if (const int critical = !text_.empty() && text_[0] == kPrintLineField
                                   ? PrintFieldLine(printer_, text_)
                                   : till.PrintText(TextLineOf(text_)))
        Fail(static_cast<std::uint8_t>(critical), status);
      text_.clear();
      break;
    default:
      break;
  }
  ClearEntry();
  return true;
}

void Keyboard::Sell(bool department, StatusBytes& status) {
  if (entryDigits == 0 || entryHasPoint_) return Fail(kCriticalKeySequence, status);
  SaleEntry sale = sale_;
  if (department) {
    sale.department = static_cast<int>(entry_);
    if (sale.department == 0) return Fail(kCriticalNoSuchDepartment, status);
  } else {
    sale.article = static_cast<std::uint32_t>(entry_);
  }
  if (const int critical = till.Sell(sale, status)) return Fail(static_cast<std::uint8_t>(critical), status);
  ClearEntry();
  ClearSale();
}

void Keyboard::Pay(int type, StatusBytes& status) {
  std::optional<std::int64_t> amount;
  std::int64_t value = 0;
  if (entryDigits > 0) {
    if (!EntryScaled(kCurrencyDecimals, value)) return Fail(kCriticalKeySequence, status);
    amount = value;
  }
  if (cardPayment_) {
    const bool refund = sale_.refund;
    ClearSale();
    if (!amount) return Fail(kCriticalKeySequence, status);
    if (const int critical = card->Pay(*amount, refund, printer_))
      return Fail(static_cast<std::uint8_t>(critical), status);
    return ClearEntry();
  }
  if (const int critical = till.Pay(type, amount, status))
    return Fail(static_cast<std::uint8_t>(critical), status);
  ClearEntry();
}

// Outside a receipt, with a personalised card in the reader, the next
// payment key pays its amount with the card.
void Keyboard::ChipCardKey(StatusBytes& status) {
  if (status.keyPosition != kRegPosition) return Fail(kCriticalNotInReg, status);
  if ((status.transaction & kTransactionOpen) || !card || card->InReader() != ChipCard::Kind::Personalised)
    return Fail(kCriticalKeySequence, status);
  cardPayment_ = true;
  ClearEntry();
}

// The entry, one digit without a point, becomes the key position. Inside a
// transaction the key stays where it is.
void Keyboard::ChangePosition(StatusBytes& status) {
  if (entryDigits != 1 || entryHasPoint_) return Fail(kCriticalKeySequence, status);
  if (status.transaction & kTransactionOpen) return Fail(kCriticalTransactionOpen, status);
  status.keyPosition = static_cast<std::uint8_t>(entry_);
  openFunction = 0;
  DropReport();
  tables.Reset();
  ClearEntry();
}

// Confirms what waits for it: the cancellation of the receipt, a
// description, or in position 4 without an open function the function the
// entry names (without an entry the key does nothing there); inside a
// function the key confirms a field.
void Keyboard::Confirm(StatusBytes& status) {
  if (cancelAsked_) {
    cancelAsked_ = false;
    ClearSale();
    if (const int critical = till.Cancel(status)) Fail(static_cast<std::uint8_t>(critical), status);
  } else if (descriptionKeyed_) {
    descriptionKeyed_ = false;
    sale_.description = text_;
    text_.clear();
  } else if (ReportConfirm(status)) {
    return;
  } else if (status.keyPosition == kProgrammingPosition && openFunction == 0 && entryDigits > 0) {
    if (entryHasPoint_) return Fail(kCriticalKeySequence, status);
    const int number = static_cast<int>(entry_);
    if (number != programmingFunction && !SettingFunctions::Has(number))
      return Fail(kCriticalNoSuchFunction, status);
    if (number != programmingFunction) settings.Open(number);
    openFunction = number;
  }
  ClearEntry();
}

// Key 145 for the report functions: a field of the journal report that
// waits for one, or the function chosen with 147 or keyed before the key.
// False when the key is not theirs (position 4 keeps its programming function).
bool Keyboard::ReportConfirm(StatusBytes& status) {
  if (!reports || openFunction != 0) return false;
  int critical = 0;
  if (reports->Collecting()) {
    critical = reports->Field(EntryText());
  } else {
    const int keyed = entryDigits > 0 && !entryHasPoint_ ? static_cast<int>(entry_) : 0;
    const int function = reportFunction_ != 0 ? reportFunction_ : keyed;
    if (function == 0) return false;
    if (ReportFunctions::Offers(status.keyPosition, function)) {
      critical = reports->Start(status.keyPosition, function);
    } else if (status.keyPosition != kReadPosition && status.keyPosition != kResetPosition) {
      return false;
    } else {
      critical = kCriticalNoSuchFunction;
    }
  }
  reportFunction_ = 0;
  ClearEntry();
  if (critical != 0) Fail(static_cast<std::uint8_t>(critical), status);
  return true;
}

void Keyboard::DropReport() {
  reportFunction_ = 0;
  if (reports) reports->Cancel();
}

// Inside the function the table keys take the entry, or the text keyed
// before them: the tables' function, or one of the setting functions.
void Keyboard::TableKey(std::uint8_t key, StatusBytes& status) {
  std::optional<std::string> text;
  if (textKeyed_) text = text_;
  textKeyed_ = false;
  bool leave = false;
  const bool taken = openFunction == programmingFunction ? tables.Key(key, EntryText(), text, leave)
                                                         : settings.Key(key, EntryText(), text, leave);
  if (!taken) return Fail(kCriticalKeySequence, status);
  if (leave) openFunction = 0;
  ClearEntry();
}

std::string Keyboard::EntryText() const {
  if (entryDigits == 0) return entryHasPoint_ ? "." : "";
  std::string digits = std::to_string(entry_);
  digits.insert(0, static_cast<std::size_t>(entryDigits) - std::min<std::size_t>(digits.size(), entryDigits),
                '0');
  if (entryHasPoint_) digits.insert(digits.size() - static_cast<std::size_t>(entryDecimals_), 1, '.');
  return digits;
}

void Keyboard::Fail(std::uint8_t critical, StatusBytes& status) {
  status.critical = critical;
  ClearEntry();
}

void Keyboard::ClearEntry() {
  entry_ = 0;
  entryDigits = 0;
  entryHasPoint_ = false;
  entryDecimals_ = 0;
}

void Keyboard::ClearSale() {
  sale_ = SaleEntry{};
  descriptionKeyed_ = false;
  cardPayment_ = false;
}

bool Keyboard::EntryScaled(int decimals, std::int64_t& value) const {
  if (entryDecimals_ > decimals) return false;
  value = static_cast<std::int64_t>(entry_);
  for (int i = entryDecimals_; i < decimals; ++i) value *= 10;
  return true;
}

void Keyboard::ComposeState(StatusBytes& status) const {
  const bool receipt = (status.transaction & kTransactionOpen) != 0;
  std::uint8_t state = kStateIdle;
  if (openFunction != 0) {
    state = kStateFunction;
  } else if (cancelAsked_) {
    state = kStateConfirm;
  } else if (till.InPayment(status)) {
    state = till.PartlyPaid() ? kStatePartlyPaid : kStateSubtotal;
  } else if (entryDigits > 0) {
    state = kStateEntry;
  } else if (receipt) {
    state = kStateSale;
  }
  // A bare 4 answering a key record means "busy" to the host, so a critical
  // state inside a function shows the idle bit with the not-ready bit.
  if (status.critical != 0 && state == kStateFunction) state = kStateIdle;
  status.state = static_cast<std::uint8_t>(state | (status.critical != 0 ? kStateNotReady : 0));
}

}  // namespace ecrsim
