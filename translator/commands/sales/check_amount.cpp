#include "commands/sales/check_amount.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "config/ecr_config_read.h"
#include "language/command_field_values.h"
#include "language/number_helpers.h"
#include "language/result_codes.h"
#include "language/result_text.h"
#include "link/frame_exchange.h"
#include "link/register_link.h"
#include "state/ecr_config.h"
#include "state/library_state.h"
#include "text/bcd_text.h"
#include "text/code_page.h"
#include "text/out_field.h"

namespace quadrel {
namespace {

constexpr int kFieldAmount = 1;
constexpr int kAmountOffset = 11;  // 'U' 0 23: the amount of the current entry
constexpr std::uint8_t kKeyClear = 58;
constexpr std::uint8_t kKeyConfirm = 145;

// The client's amount in the register's smallest units: a decimal number
// with at most the register's decimals whose scaled value fits a register
// amount (kMaxKeyedDigits). Nothing else is converted.
std::optional<std::int64_t> ScaledAmount(std::string_view text) {
  if (!IsKeyedNumber(text, CurrentRecord().Decimals, true)) return std::nullopt;
  text = text.substr(text.find_first_not_of(' '));
  text = text.substr(0, text.find(' '));
  const bool negative = text.front() == '-';
  std::string digits;
  if (!PadDecimals(negative ? text.substr(1) : text, digits)) return std::nullopt;
  const std::size_t first = std::min(digits.find_first_not_of('0'), digits.size());
  if (digits.size() - first > kMaxKeyedDigits) return std::nullopt;
  std::int64_t value = 0;
  std::from_chars(digits.data() + first, digits.data() + digits.size(), value);
  return negative ? -value : value;
}

// The register's amount read the same way; nullopt when it is no decimal number.
std::optional<std::int64_t> RegisterAmount(std::span<const std::uint8_t> bcd) {
  std::string text;
  BcdToDecimalText(text, bcd, BCD_NO_POINT);
  std::int64_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc{} || end != text.data() + text.size()) return std::nullopt;
  return value;
}

// 'U' 0 23; 0 with the answer in the FrameBuffer, else a code that is never 0.
int ReadCurrentAmount(int amountBytes) {
  int error = 0;
  if (!SendFrame3('U', 0, 23, error)) return error != 0 ? error : kClassAnswerLetter | 'U';
  const FrameBufferData& answer = FrameBuffer();
  if (answer.length < 2) return kClassAnswerLetter | 'U';
  if (answer.data[1] != 0) return kClassTransferAnswer | answer.data[1];
  if (answer.length < kAmountOffset + amountBytes) return kClassAnswerLetter | 'U';
  return 0;
}

}  // namespace

int CmdCheckAmount() {
  if (!FieldGiven(kFieldAmount) || FieldIsFlag(kFieldAmount)) return kResultMandatoryField;

  Reply().PendingReply = {};
  const int read = ReadEcrConfig(0);
  if (read != 0) return read;
  const std::optional<std::int64_t> amount = ScaledAmount(FieldText(kFieldAmount));
  if (!amount) return kResultIllegalValue;
  const EcrConfigRecord& record = CurrentRecord();
  const int exchange = ReadCurrentAmount(record.AmountBytes);
  if (exchange != 0) return exchange;

  const std::span<const std::uint8_t> digits(FrameBuffer().data.data() + kAmountOffset, record.AmountBytes);
  std::string text;
  EditOutField(text, BytesToHex(digits), 0);
  if (!text.empty() && text.back() == SeparatorChar()) text.pop_back();
  SetPendingReply(text);
  if (RegisterAmount(digits) == amount) return 0;

  int error = 0;
  if (SendFrame2('A', kKeyClear, error)) SendFrame2('A', kKeyConfirm, error);
  return kResultIllegalValue;
}

}  // namespace quadrel
