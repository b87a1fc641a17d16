#include "exports/chip_card_text.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <optional>
#include <span>
#include <string_view>

#include "config/config_text_fields.h"
#include "config/ecr_conf_texts.h"
#include "language/result_text.h"
#include "link/ecr_readiness.h"
#include "link/register_link.h"
#include "run/command_executor.h"
#include "run/retry_runner.h"
#include "state/ecr_config.h"
#include "state/library_state.h"

namespace quadrel {
namespace {

constexpr int kReaderReadyBits = 0x03;
constexpr std::string_view kReaderNotReadyText = "99";
constexpr int kEnquiryReaderField = 6;  // field of the line-state enquiry that names the reader's state
constexpr int kReaderBlockedA = 49;
constexpr int kReaderBlockedB = 50;
constexpr int kSavedBytesMinAnswer = 76;
constexpr int kSavedBytesCount = 5;

bool ReaderReady() {
  int flags = 0;
  return AskHostStatus(1, flags) == 0 && (flags & kReaderReadyBits) != 0;
}

// Field n (from 1) of a comma-separated reply as a number; -1 when absent.
int ReplyField(std::string_view reply, int n) {
  for (int i = 1; i < n; ++i) {
    const std::size_t comma = reply.find(',');
    if (comma == std::string_view::npos) return -1;
    reply.remove_prefix(comma + 1);
  }
  reply = reply.substr(0, reply.find(','));
  int value = -1;
  const auto [end, error] = std::from_chars(reply.data(), reply.data() + reply.size(), value);
  return error == std::errc() && end == reply.data() + reply.size() ? value : -1;
}

// Asks the line state; when the reader is in one of its blocked states the
// register is cleared. The nested lines leave the caller's one-shot texts as
// they were, so the client's next command still reads "OK.".
void WakeReader() {
  const ReplyState saved = Reply();
  Reply().PendingReply = {};
  TradExecCommand("#71 #1=8");
  if (Reply().PendingReply.set && EnquiryShowsBlockedReader(Reply().PendingReply.text)) ClearEcr();
  Reply() = saved;
}

// What the card data of 'C' 4 decide for the rest of the text.
struct CardData {
  int extraRecords = 0;  // the signed count: above 0 the card text is the long one
  std::optional<std::array<std::uint8_t, kSavedBytesCount>> savedAmount;
};

// The card data fields of 'C' 4 (amounts `d` bytes wide); nullopt when a field lies beyond the answer.
std::optional<CardData> CardFields(ConfigTextFields& f, int d) {
  const int p = 26 + d;
  if (!(f.RawHex(2, 5) && f.RawHex(7, 1) && f.SignedByte(8) && f.RawHex(9, 3) && f.Text(12, 10) &&
        f.Word(22) && f.RawHex(24, 2) && f.Bcd(26, d) && f.RawHex(p, 3) && f.RawHex(p + 3, 1) &&
        f.RawHex(p + 4, 3) && f.SignedByte(p + 7) && f.Text(p + 8, 16) && f.SignedByte(p + 24))) {
    return std::nullopt;
  }
  CardData card;
  card.extraRecords = static_cast<std::int8_t>(f.Byte(p + 24));
  if (card.extraRecords > 0 && !(f.RawHex(p + 25, 8) && f.Text(p + 33, 20))) return std::nullopt;
  if (f.AnswerLength() >= kSavedBytesMinAnswer && f.Fits(p + 53, kSavedBytesCount)) {
    card.savedAmount.emplace();
    std::ranges::copy(f.Bytes(p + 53, kSavedBytesCount), card.savedAmount->begin());
  }
  return card;
}

}  // namespace

bool EnquiryShowsBlockedReader(std::string_view reply) {
  const int readerState = ReplyField(reply, kEnquiryReaderField);
  return readerState == kReaderBlockedA || readerState == kReaderBlockedB;
}

std::optional<std::string> ChipCardText(const EcrConfigRecord& record) {
  if (HostHasStatus() && !Library().broadcastMode && !ReaderReady()) {
    WakeReader();
    if (!ReaderReady()) return std::string(kReaderNotReadyText);
  }

  ConfigTextFields fields(record);
  int error = 0;
  if (!SendFrame2('C', 4, error)) return std::nullopt;
  fields.UseFrameAnswer();
  if (!fields.UnsignedByte(1)) return std::nullopt;
  if (fields.Byte(1) != 0) return fields.Finish(kChipCardTextChars);  // no card in the reader

  const std::optional<CardData> card = CardFields(fields, record.AmountBytes);
  if (!card) return std::nullopt;

  if (!SendFrame2('C', 5, error)) return std::nullopt;
  fields.UseFrameAnswer();
  if (!fields.Fits(1, 1)) return std::nullopt;
  if (fields.Byte(1) != 0) return fields.Finish(kChipCardTextChars);
  if (!fields.Text(2, card->extraRecords < 1 ? 24 : 120)) return std::nullopt;

  if (card->savedAmount) {
    fields.UseAnswer(*card->savedAmount);
    fields.Bcd(0, kSavedBytesCount);
  }
  return fields.Finish(kChipCardTextChars);
}

}  // namespace quadrel
