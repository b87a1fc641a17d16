#include "commands/chip_card/card_operations.h"

#include <cstdint>
#include <string>

#include "language/command_field_values.h"
#include "language/number_helpers.h"
#include "language/result_codes.h"
#include "link/frame_exchange.h"
#include "link/key_records.h"
#include "link/register_link.h"
#include "state/ecr_config.h"
#include "state/executor_state.h"

namespace quadrel {
namespace {

constexpr int kStateIdle = 0x01;
constexpr int kRegPosition = 1;
constexpr std::uint8_t kWriteValue = 14;
constexpr std::uint8_t kBookAmounts = 27;
constexpr int kFirstAmounts = 4;
constexpr int kDropSignOperation = 4;
constexpr int kPositiveOperation = 5;
constexpr int kCountBytes = 3;
constexpr int kValueBytes = 5;

// Sale keys: the card key sequence, the return key, the payment's closing key.
constexpr std::uint8_t kSaleCardKeys[] = {0, 0, 1, 148, 145};
constexpr std::uint8_t kReturnKey = 28;
constexpr std::uint8_t kPaymentKey = 49;

// Frame codes of operations 8, 9 and 10.
constexpr std::uint8_t kShortFrames[] = {26, 25, 28};
constexpr int kFirstShort = 8;

bool Negative(const std::string& number) { return !number.empty() && number.front() == '-'; }

}  // namespace

int RequireIdle() { return EcrStatusBytes().state & kStateIdle ? 0 : kResultEcrNotIdle; }

int WaitForCard() {
  const std::string& wait = FieldText(kCardWait);
  return WaitChipCard(wait == kBareFlag || wait == "2" ? 1 : 0);
}

int SendCardFrame(const CardBytes& frame, int flags) {
  int error = 0;
  if (!SendEcrFrame(flags, frame.data(), static_cast<int>(frame.size()), error)) return error;
  const FrameBufferData& answer = FrameBuffer();
  return answer.length >= 2 && answer.data[1] == 0 ? 0 : kResultChipCardError;
}

int UseCardInSale() {
  if (const int refused = RequireIdle()) return refused;
  if (EcrStatusBytes().keyPosition != kRegPosition) return kResultNotInRegPosition;
  if (!FieldGiven(kCardPayment)) return kResultMandatoryField;
  const std::string& payment = FieldText(kCardPayment);
  if (!IsDecimalText(payment) || Negative(payment)) return kResultIllegalValue;
  if (const int failed = WaitForCard()) return failed;
  if (FrameBuffer().data[1] != 0) return kResultChipCardError;
  KeyRecords keys;
  keys.Record();
  for (std::uint8_t key : kSaleCardKeys) keys.Key(key);
  if (FieldGiven(kCardReturn)) keys.Record().Key(kReturnKey);
  keys.Record().Digits(payment).Key(kPaymentKey);
  Executor().StopOnRecordError = 1;
  return keys.Queue();
}

int WriteCardValue() {
  if (const int refused = RequireIdle()) return refused;
  if (!FieldGiven(kCardValueSlot) || !FieldGiven(kCardValue)) return kResultMandatoryField;
  int slot = 0;
  if (!FieldInteger(kCardValueSlot, slot) || slot < 1 || slot > CurrentRecord().Block3Word73 ||
      FieldIsFlag(kCardLevel))
    return kResultIllegalValue;
  CardBytes frame = {'C', kWriteValue, static_cast<std::uint8_t>(slot & 0xFF), static_cast<std::uint8_t>(slot >> 8)};
  if (!AppendCardBcd(frame, FieldText(kCardValue), kValueBytes)) return kResultIllegalValue;
  return SendCardFrame(frame, FRAME_PLAIN);
}

int BookCardAmounts(int operation, const CardBytes& cardNumber) {
  std::string first = FieldText(kCardAmount1);
  const std::string& second = FieldText(kCardAmount2);
  const std::string& count = FieldText(kCardCount);
  if (!IsIntegerText(first) || !IsIntegerText(second) || !IsIntegerText(count)) return kResultIllegalValue;
  // Operation 4 books the first amount without its sign.
  if (operation == kDropSignOperation && Negative(first)) first.front() = '0';
  if (operation <= kPositiveOperation && (Negative(first) || Negative(second) || Negative(count)))
    return kResultIllegalValue;
  CardBytes frame = {'C', kBookAmounts};
  frame.insert(frame.end(), cardNumber.begin(), cardNumber.end());
  frame.push_back(static_cast<std::uint8_t>(operation - kFirstAmounts));
  const int amountBytes = CurrentRecord().AmountBytes;
  if (!AppendSignedBcd(frame, first, amountBytes) || !AppendSignedBcd(frame, second, amountBytes) ||
      !AppendSignedBcd(frame, count, kCountBytes))
    return kResultIllegalValue;
  if (const int failed = WaitChipCard(0)) return failed;
  return SendCardFrame(frame, FRAME_PLAIN);
}

int ShortCardOperation(int operation, const CardBytes& cardNumber) {
  if (const int refused = RequireIdle()) return refused;
  if (const int failed = WaitChipCard(0)) return failed;
  CardBytes frame = {'C', kShortFrames[operation - kFirstShort]};
  frame.insert(frame.end(), cardNumber.begin(), cardNumber.end());
  return SendCardFrame(frame, FRAME_PLAIN);
}

}  // namespace quadrel
