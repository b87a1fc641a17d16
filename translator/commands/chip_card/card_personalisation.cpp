// Operation 1 of the chip-card command: a blank card gets its owner data and
// four text lines.
#include <cstddef>
#include <cstdint>
#include <string>

#include "commands/chip_card/card_operations.h"
#include "language/command_field_values.h"
#include "language/number_helpers.h"
#include "language/result_codes.h"
#include "link/frame_exchange.h"
#include "state/ecr_config.h"
#include "text/code_page.h"

namespace quadrel {
namespace {

constexpr std::uint8_t kPersonalData = 6;
constexpr std::uint8_t kTextLines = 7;
constexpr int kTextLinesFlags = FRAME_PLAIN | FRAME_MODE_11;
constexpr std::uint8_t kBlankCard = 10;
constexpr std::uint8_t kPersonalisedCard = 0;
constexpr int kMaxType = 3;
constexpr int kCreditType = 2;
constexpr char kCreditModel = '6';
constexpr std::size_t kOwnerCodeWidth = 10;
constexpr std::size_t kOwnerNameWidth = 16;
constexpr std::size_t kCardNumberChars = 5;
constexpr int kMaxCardNumber = 9999;
constexpr std::size_t kCreditChars = 11;
constexpr int kCreditBytes = 5;
constexpr std::size_t kLineWidth = 30;
constexpr std::size_t kReservedZeros = 8;
constexpr std::size_t kTrailingBlanks = 20;

// A number field within [low, high], `fallback` when not given.
bool OptionalNumber(int slot, int low, int high, int fallback, int& value) {
  value = fallback;
  return !FieldGiven(slot) || (FieldInteger(slot, value) && value >= low && value <= high);
}

// A text field that is not a bare flag and fits `width`.
bool FitsText(int slot, std::size_t width) { return !FieldIsFlag(slot) && FieldText(slot).size() <= width; }

// The card number value #5 replaces: its value times 100.
bool ReplaceCardNumber(CardBytes& cardNumber) {
  if (!FieldGiven(kCardNumber)) return true;
  int hundredths = 0;
  if (FieldText(kCardNumber).size() > kCardNumberChars ||
      !HundredthsValue(FieldText(kCardNumber), kMaxCardNumber, hundredths))
    return false;
  cardNumber.clear();
  return AppendCardBcd(cardNumber, std::to_string(hundredths), 2);
}

// The credit #19 in the register's decimals, ten BCD digits.
bool AppendCredit(CardBytes& frame) {
  if (!FieldGiven(kCardCredit)) return AppendCardBcd(frame, "", kCreditBytes);
  std::string digits;
  return FitsText(kCardCredit, kCreditChars) && PadDecimals(FieldText(kCardCredit), digits) &&
         AppendCardBcd(frame, digits, kCreditBytes);
}

// The personal-data frame, or false when a field breaks its limits.
bool PersonalDataFrame(int type, const CardBytes& cardNumber, CardBytes& frame) {
  int level = 0;
  int byte8 = 0;
  if (!FitsText(kCardOwnerCode, kOwnerCodeWidth) || !FitsText(kCardOwnerName, kOwnerNameWidth) ||
      !OptionalNumber(kCardLevel, 1, 4, 1, level) || !OptionalNumber(kCardByte8, 0, 255, 0, byte8))
    return false;
  frame = {'C', kPersonalData, static_cast<std::uint8_t>(type), 1, 0, 0, 0};
  AppendRight(frame, FieldText(kCardOwnerCode), kOwnerCodeWidth);
  AppendLeft(frame, FieldText(kCardOwnerName), kOwnerNameWidth);
  frame.push_back(FieldIsFlag(kCardEnable) ? 1 : 0);
  frame.push_back(0);
  frame.insert(frame.end(), cardNumber.begin(), cardNumber.end());
  frame.push_back(static_cast<std::uint8_t>(level));
  if (!FieldGiven(kCardHex))
    frame.insert(frame.end(), 3, 0);
  else if (!AppendHexTriple(frame, FieldText(kCardHex)))
    return false;
  frame.push_back(static_cast<std::uint8_t>(byte8));
  frame.insert(frame.end(), kReservedZeros, 0);
  frame.insert(frame.end(), kTrailingBlanks, ' ');
  if (type == kCreditType || CurrentRecord().ModelLetter == kCreditModel) return AppendCredit(frame);
  return FieldText(kCardCredit).size() <= kCreditChars && !FieldIsFlag(kCardCredit);
}

bool TextLinesFrame(CardBytes& frame) {
  frame = {'C', kTextLines};
  for (int slot = kCardFirstLine; slot <= kCardLastLine; ++slot) {
    if (FieldIsFlag(slot)) return false;
    AppendLeft(frame, PcToEcrText(FieldText(slot)), kLineWidth);
  }
  return true;
}

}  // namespace

int PersonaliseCard(CardBytes cardNumber) {
  if (const int refused = RequireIdle()) return refused;
  if (!FieldGiven(kCardType)) return kResultMandatoryField;
  int type = 0;
  CardBytes personalData;
  CardBytes textLines;
  if (!FieldInteger(kCardType, type) || type < 0 || type > kMaxType || !ReplaceCardNumber(cardNumber) ||
      !PersonalDataFrame(type, cardNumber, personalData) || !TextLinesFrame(textLines))
    return kResultIllegalValue;
  if (const int failed = WaitForCard()) return failed;
  const std::uint8_t card = FrameBuffer().data[1];
  if (card == kPersonalisedCard) return kResultChipCardNotBlank;
  if (card != kBlankCard) return kResultChipCardError;
  if (const int failed = SendCardFrame(personalData, FRAME_PLAIN)) return failed;
  return SendCardFrame(textLines, kTextLinesFlags);
}

}  // namespace quadrel
