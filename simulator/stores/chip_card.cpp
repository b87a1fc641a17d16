#include "stores/chip_card.h"

#include "config/bcd_digits.h"
#include "printer/printer.h"
#include "till/till.h"

namespace ecrsim {
namespace {

constexpr std::uint8_t kPersonalData = 6;
constexpr std::uint8_t kTextLines = 7;
constexpr std::uint8_t kCardValue = 14;
constexpr std::uint8_t kBooking = 27;
constexpr std::uint8_t kShortOperations[] = {25, 26, 28};

// The personal-data frame: 70 bytes, 75 with the credit.
constexpr std::size_t kPersonalDataBytes = 70;
constexpr std::size_t kPersonalDataWithCredit = 75;
constexpr std::size_t kOwnerCodeAt = 7;
constexpr std::size_t kOwnerCodeWidth = 10;
constexpr std::size_t kOwnerNameAt = 17;
constexpr std::size_t kOwnerNameWidth = 16;
constexpr std::size_t kNumberAt = 35;
constexpr std::size_t kNumberBytes = 2;
constexpr std::size_t kCreditAt = 70;

constexpr std::size_t kTextLinesBytes = 2 + kCardLines * kCardLineWidth;
constexpr std::size_t kValueReadBytes = 4;
constexpr std::size_t kValueBytes = 5;
constexpr std::size_t kValueWriteBytes = kValueReadBytes + kValueBytes;
constexpr std::size_t kShortBytes = 4;

// 'C' 27, card number, kind, two amounts of n bytes, a count of 3 bytes.
constexpr std::size_t kBookingHead = 5;
constexpr std::size_t kCountBytes = 3;
constexpr std::uint8_t kCharge = 1;  // the one kind that takes the first amount off the balance
constexpr std::uint8_t kLastKind = 3;

std::string Trimmed(std::span<const std::uint8_t> bytes) {
  std::string text(bytes.begin(), bytes.end());
  text.erase(text.find_last_not_of(' ') + 1);
  text.erase(0, text.find_first_not_of(' '));
  return text;
}

std::vector<std::uint8_t> CardAnswer(std::uint8_t code) {
  return {'C', code};
}

}  // namespace

void ChipCard::Insert(Kind kind, int delayMs) {
  kind_ = kind;
  insertedAt_ = std::chrono::steady_clock::now() + std::chrono::milliseconds(delayMs);
  if (kind == Kind::Personalised) return;
  type = 0;
  number = 0;
  ownerCode.clear();
  ownerName.clear();
  lines = {};
  balance = 0;
}

ChipCard::Kind ChipCard::InReader() const {
  return std::chrono::steady_clock::now() >= insertedAt_ ? kind_ : Kind::None;
}

std::optional<ChipCard::Kind> ChipCard::KindNamed(std::string_view name) {
  if (name == "none") return Kind::None;
  if (name == "blank") return Kind::Blank;
  if (name == "personalised") return Kind::Personalised;
  return std::nullopt;
}

std::string ChipCard::Describe() const {
  static constexpr const char* kNames[] = {"none", "blank", "personalised"};
  return std::string("card ") + kNames[static_cast<int>(InReader())] + " number " + std::to_string(number) +
         " balance " + std::to_string(balance) + " owner \"" + ownerCode + "\" \"" + ownerName + "\" last " +
         std::to_string(lastShortOperation) + "\n";
}

bool ChipCard::Handles(std::span<const std::uint8_t> frame) {
  if (frame.size() < 2 || frame[0] != 'C') return false;
  const std::uint8_t code = frame[1];
  bool shortOperation = false;
  for (std::uint8_t known : kShortOperations) shortOperation |= code == known;
  return code == kPersonalData || code == kTextLines || code == kCardValue || code == kBooking ||
         shortOperation;
}

std::optional<std::vector<std::uint8_t>> ChipCard::Answer(std::span<const std::uint8_t> frame,
                                                          int valueSlots) {
  switch (frame[1]) {
    case kPersonalData:
      if (frame.size() != kPersonalDataBytes && frame.size() != kPersonalDataWithCredit) return std::nullopt;
      return CardAnswer(PersonalData(frame));
    case kTextLines:
      if (frame.size() != kTextLinesBytes) return std::nullopt;
      return CardAnswer(TextLines(frame));
    case kCardValue:
      return Value(frame, valueSlots);
    case kBooking:
      if (const auto code = Booking(frame)) return CardAnswer(*code);
      return std::nullopt;
    default:
      if (frame.size() != kShortBytes) return std::nullopt;
      if (const std::uint8_t code = RequireCard(frame, 2); code != kCardDone) return CardAnswer(code);
      lastShortOperation = frame[1];
      return CardAnswer(kCardDone);
  }
}

std::uint8_t ChipCard::PersonalData(std::span<const std::uint8_t> frame) {
  const Kind now = InReader();
  if (now != Kind::Blank) return now == Kind::None ? kCardMissing : kCardWrongState;
  const auto cardNumber = UnpackBcd(frame.subspan(kNumberAt, kNumberBytes));
  const auto credit = frame.size() == kPersonalDataWithCredit ? UnpackBcd(frame.subspan(kCreditAt))
                                                              : std::optional<std::int64_t>{0};
  if (!cardNumber || *cardNumber < 0 || !credit || *credit < 0) return kCardWrongState;
  kind_ = Kind::Personalised;
  type = frame[2];
  number = static_cast<int>(*cardNumber);
  ownerCode = Trimmed(frame.subspan(kOwnerCodeAt, kOwnerCodeWidth));
  ownerName = Trimmed(frame.subspan(kOwnerNameAt, kOwnerNameWidth));
  balance = *credit;
  return kCardDone;
}

std::uint8_t ChipCard::TextLines(std::span<const std::uint8_t> frame) {
  const Kind now = InReader();
  if (now != Kind::Personalised) return now == Kind::None ? kCardMissing : kCardWrongState;
  for (std::size_t line = 0; line < kCardLines; ++line)
    lines[line] = Trimmed(frame.subspan(2 + line * kCardLineWidth, kCardLineWidth));
  return kCardDone;
}

// 'C' 14 and a slot (low byte first) reads a card value (status 1 for a slot
// the register does not have); with five BCD bytes after the slot it writes one.
std::optional<std::vector<std::uint8_t>> ChipCard::Value(std::span<const std::uint8_t> frame,
                                                         int valueSlots) {
  if (frame.size() != kValueReadBytes && frame.size() != kValueWriteBytes) return std::nullopt;
  const int slot = frame[2] | (frame[3] << 8);
  if (slot < 1 || slot > valueSlots) return CardAnswer(kCardMissing);
  std::array<std::uint8_t, kValueBytes>& value = values_[slot];
  if (frame.size() == kValueWriteBytes) {
    if (!UnpackBcd(frame.subspan(kValueReadBytes))) return std::nullopt;
    std::copy(frame.begin() + kValueReadBytes, frame.end(), value.begin());
    return CardAnswer(kCardDone);
  }
  std::vector<std::uint8_t> answer = CardAnswer(kCardDone);
  answer.insert(answer.end(), value.begin(), value.end());
  return answer;
}

// Kind 1 charges the first amount to the card; the other kinds add it, signed.
std::optional<std::uint8_t> ChipCard::Booking(std::span<const std::uint8_t> frame) {
  if (frame.size() <= kBookingHead + kCountBytes || (frame.size() - kBookingHead - kCountBytes) % 2 != 0)
    return std::nullopt;
  const std::size_t amountBytes = (frame.size() - kBookingHead - kCountBytes) / 2;
  const std::uint8_t kind = frame[4];
  const auto amount = UnpackBcd(frame.subspan(kBookingHead, amountBytes));
  if (kind > kLastKind || !amount || !UnpackBcd(frame.subspan(kBookingHead + amountBytes, amountBytes)) ||
      !UnpackBcd(frame.subspan(kBookingHead + 2 * amountBytes)))
    return std::nullopt;
  if (const std::uint8_t code = RequireCard(frame, 2); code != kCardDone) return code;
  const std::int64_t after = kind == kCharge ? balance - *amount : balance + *amount;
  if (after < 0) return kCardNoFunds;
  balance = after;
  return kCardDone;
}

std::uint8_t ChipCard::RequireCard(std::span<const std::uint8_t> frame, std::size_t at) const {
  const Kind now = InReader();
  if (now != Kind::Personalised) return now == Kind::None ? kCardMissing : kCardWrongState;
  return UnpackBcd(frame.subspan(at, kNumberBytes)) == number ? kCardDone : kCardOtherNumber;
}

int ChipCard::Pay(std::int64_t hundredths, bool refund, Printer& printer) {
  if (InReader() != Kind::Personalised) return kCriticalKeySequence;
  if (!refund && hundredths > balance) return kCriticalAmountTooLarge;
  if (printer.fault != 0) return printer.fault;
  balance += refund ? hundredths : -hundredths;
  printer.PrintCentred("CARTA CHIP");
  printer.PrintAmount(refund ? "RESO" : "PAGAMENTO", hundredths);
  printer.PrintAmount("SALDO", balance);
  printer.PrintRule();
  return 0;
}

}  // namespace ecrsim
