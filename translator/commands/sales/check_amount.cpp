#include "commands/sales/check_amount.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

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

// The client's amount in the register's smallest units, rounded half away from zero.
long long ScaledAmount(double amount, int decimals) {
  const double scaled = amount * std::pow(10.0, decimals);
  return static_cast<long long>(scaled < 0 ? scaled - 0.5 : scaled + 0.5);
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
  const std::string& given = FieldText(kFieldAmount);
  if (!FieldGiven(kFieldAmount) || FieldIsFlag(kFieldAmount) || !IsDecimalText(given))
    return kResultMandatoryField;
  const double amount = std::strtod(given.c_str(), nullptr);

  Reply().PendingReply = {};
  const int read = ReadEcrConfig(0);
  if (read != 0) return read;
  const EcrConfigRecord& record = CurrentRecord();
  const int exchange = ReadCurrentAmount(record.AmountBytes);
  if (exchange != 0) return exchange;

  const std::span<const std::uint8_t> digits(FrameBuffer().data.data() + kAmountOffset, record.AmountBytes);
  std::string text;
  EditOutField(text, BytesToHex(digits), 0);
  if (!text.empty() && text.back() == SeparatorChar()) text.pop_back();
  SetPendingReply(text);
  const auto registerAmount = static_cast<long long>(BcdToNumber(digits));
  if (ScaledAmount(amount, record.Decimals) == registerAmount) return 0;

  int error = 0;
  if (SendFrame2('A', kKeyClear, error)) SendFrame2('A', kKeyConfirm, error);
  return kResultIllegalValue;
}

}  // namespace quadrel
