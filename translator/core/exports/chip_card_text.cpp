#include "exports/chip_card_text.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <optional>
#include <span>
#include <string_view>

#include "config/chip_card_fields.h"
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

  return ChipCardFields(record, ChipCardStyle::Export);
}

}  // namespace quadrel
