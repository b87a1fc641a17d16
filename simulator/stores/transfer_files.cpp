#include "stores/transfer_files.h"

#include <algorithm>

#include "wire/register_answer.h"

namespace ecrsim {
namespace {

constexpr std::uint8_t kOpenDownload = 7;
constexpr std::uint8_t kNextArticle = 4;
constexpr std::uint8_t kNextArticleByte1 = 0x80;
constexpr std::uint8_t kCloseDownload = 8;
constexpr std::uint8_t kRemoveSent = 9;
constexpr std::uint8_t kNextCollected = 10;
constexpr std::uint8_t kSelectCollected = 25;
constexpr std::uint8_t kSelectedByte1 = 0x80;
constexpr std::uint8_t kTextEntry = 19;
constexpr std::uint8_t kClearTextTable = 20;
constexpr std::uint8_t kNoMore = 7;
constexpr std::uint8_t kOverflow = 2;
constexpr std::uint8_t kCodesOnly = 0x01;
constexpr std::size_t kOpenBytes = 6;  // start (2), end (2), selection, option
constexpr std::size_t kSelectionBytes = 5;
constexpr std::uint8_t kKindMask = 0x3F;
constexpr std::uint8_t kKindReceiptEnd = 13;
constexpr int kCollectCountOffset = 45;  // in the file information

Reply Answered(std::vector<std::uint8_t> bytes) {
  Reply reply;
  reply.answer = std::move(bytes);
  return reply;
}

Reply Refused() {
  Reply reply;
  reply.hostResult = kHostRefused;
  reply.answer = {'U', kRefuseUnknownFrame};
  return reply;
}

int BcdValue(std::uint8_t byte) {
  return (byte >> 4) * 10 + (byte & 0x0F);
}

}  // namespace

bool TransferFiles::Handles(std::span<const std::uint8_t> frame) {
  if (frame.size() < 3 || frame[0] != 'U') return false;
  switch (frame[2]) {
    case kOpenDownload:
    case kCloseDownload:
    case kRemoveSent:
    case kSelectCollected:
    case kTextEntry:
    case kClearTextTable:
      return frame[1] == 0;
    case kNextArticle:
      return frame[1] == kNextArticleByte1;
    case kNextCollected:
      return frame[1] == 0 || frame[1] == kSelectedByte1;
    default:
      return false;
  }
}

Reply TransferFiles::Answer(std::span<const std::uint8_t> frame, RecordFiles& records,
                            const RecordGeometry& g) {
  const auto rest = frame.subspan(3);
  switch (frame[2]) {
    case kSelectCollected:
      return SelectCollected(rest);
    case kNextCollected:
      if (!rest.empty()) return Refused();
      // A transfer without selection after a selected one starts at the first record.
      if (frame[1] == 0 && selectedRead_) nextCollected_ = 0;
      selectedRead_ = frame[1] == kSelectedByte1;
      return NextCollected();
    case kTextEntry:
      return rest.size() == 1 ? TextEntry(rest[0]) : Refused();
    case kClearTextTable:
      if (!rest.empty()) return Refused();
      textTable.clear();
      ++textTableClears;
      return Answered({'U', 0});
    default:
      return Download(frame[2], rest, records, g);
  }
}

Reply TransferFiles::Download(std::uint8_t subCode, std::span<const std::uint8_t> rest, RecordFiles& records,
                              const RecordGeometry& g) {
  if (subCode == kOpenDownload) {
    if (rest.size() != kOpenBytes) return Refused();
    downloadCodes_.clear();
    for (const auto& [code, body] : records.articles) downloadCodes_.push_back(code);
    const int start = rest[0] | rest[1] << 8;
    nextArticle_ =
        std::min<std::size_t>(start > 0 ? static_cast<std::size_t>(start - 1) : 0, downloadCodes_.size());
    codesOnly_ = (rest[5] & kCodesOnly) != 0;
    sent_ = 0;
    lastDelivered_.reset();
    downloadOpen_ = true;
    return Answered({'U', 0});
  }
  if (!rest.empty() || !downloadOpen_) return Refused();
  if (subCode == kNextArticle) return NextArticle(records, g);
  if (subCode == kRemoveSent) {
    if (!lastDelivered_ || records.articles.erase(*lastDelivered_) == 0)
      return Answered({'U', kRecordNotFound});
    lastDelivered_.reset();
    return Answered({'U', 0});
  }
  downloadOpen_ = false;
  return Answered({'U', 0, static_cast<std::uint8_t>(sent_ & 0xFF), static_cast<std::uint8_t>(sent_ >> 8)});
}

Reply TransferFiles::NextArticle(const RecordFiles& records, const RecordGeometry& g) {
  for (;;) {
    if (nextArticle_ >= downloadCodes_.size()) return Answered({'U', kNoMore});
    const int sequence = static_cast<int>(++nextArticle_);
    const auto found = records.articles.find(downloadCodes_[nextArticle_ - 1]);
    if (found == records.articles.end()) continue;  // removed since the download opened
    ++sent_;
    if (lostSequences.erase(sequence) != 0) continue;
    lastDelivered_ = found->first;
    Reply reply = Answered(
        {'U', 0, static_cast<std::uint8_t>(sequence & 0xFF), static_cast<std::uint8_t>(sequence >> 8)});
    auto& answer = reply.answer;
    answer.insert(answer.end(), found->first.begin(), found->first.end());
    const RecordBytes& body = found->second;
    const auto tail = codesOnly_ ? body.end() - g.fourthBytes : body.begin();
    answer.insert(answer.end(), tail, body.end());
    answer.resize(answer.size() + static_cast<std::size_t>(g.extraGroupBytes), 0);
    return reply;
  }
}

void TransferFiles::AddCollected(RecordBytes record, RegisterConfig& config) {
  collected_.push_back(std::move(record));
  config.SetNumber(Area::FileInfo, kCollectCountOffset, 2, static_cast<std::uint32_t>(collected_.size()));
}

void TransferFiles::ClearCollected(RegisterConfig& config) {
  collected_.clear();
  nextCollected_ = 0;
  collectOverflow = false;
  config.SetNumber(Area::FileInfo, kCollectCountOffset, 2, 0);
}

// Without selection data every record; with selection number n, the records
// from the n-th receipt on (receipts end with a record of kind 13).
Reply TransferFiles::SelectCollected(std::span<const std::uint8_t> rest) {
  if (!rest.empty() && rest.size() != kSelectionBytes) return Refused();
  nextCollected_ = 0;
  int receipt = rest.empty() ? 0 : BcdValue(rest[0]) * 100 + BcdValue(rest[1]);
  while (receipt > 1 && nextCollected_ < collected_.size()) {
    const RecordBytes& record = collected_[nextCollected_++];
    if (!record.empty() && (record[0] & kKindMask) == kKindReceiptEnd) --receipt;
  }
  return Answered({'U', static_cast<std::uint8_t>(nextCollected_ < collected_.size() ? 0 : kNoMore)});
}

Reply TransferFiles::NextCollected() {
  if (nextCollected_ >= collected_.size()) {
    nextCollected_ = 0;  // the next transfer starts again at the first record
    return Answered({'U', kNoMore});
  }
  Reply reply = Answered({'U', static_cast<std::uint8_t>(collectOverflow ? kOverflow : 0)});
  const RecordBytes& record = collected_[nextCollected_++];
  reply.answer.insert(reply.answer.end(), record.begin(), record.end());
  return reply;
}

Reply TransferFiles::TextEntry(std::uint8_t n) const {
  const auto found = textTable.find(n);
  if (found == textTable.end()) return Answered({'U', kRecordNotFound});
  Reply reply = Answered({'U', 0, n, static_cast<std::uint8_t>(found->second.word & 0xFF),
                          static_cast<std::uint8_t>(found->second.word >> 8)});
  reply.answer.insert(reply.answer.end(), found->second.amount.begin(), found->second.amount.end());
  return reply;
}

}  // namespace ecrsim
