#include "commands/journal/journal_text.h"

#include <algorithm>

namespace quadrel {
namespace {

constexpr std::uint8_t kLineFeed = 10;
constexpr std::uint8_t kFormFeed = 12;
constexpr std::uint8_t kEscape = 27;

}  // namespace

void JournalTextWalker::Add(char c, std::size_t count, JournalLineSink& sink) {
  while (count > 0) {
    const std::size_t room = kMaxJournalLineBytes - line_.size();
    const std::size_t take = std::min(room, count);
    line_.append(take, c);
    count -= take;
    if (line_.size() == kMaxJournalLineBytes) {
      sink.Line(line_);
      line_.clear();
    }
  }
}

bool JournalTextWalker::Walk(std::span<const std::uint8_t> text, JournalLineSink& sink) {
  bool lineFeed = false;
  for (const std::uint8_t byte : text) {
    if (escapePending_) {
      escapePending_ = false;
      Add(' ', byte, sink);
    } else if (byte == kEscape) {
      escapePending_ = true;
    } else if (byte == kLineFeed) {
      lineFeed = true;
      sink.Line(line_);
      line_.clear();
    } else if (byte == kFormFeed) {
      sink.FormFeed();
    } else {
      Add(static_cast<char>(byte), 1, sink);
    }
  }
  return lineFeed;
}

void JournalTextWalker::Finish(JournalLineSink& sink) {
  if (line_.empty()) return;
  sink.Line(line_);
  line_.clear();
}

}  // namespace quadrel
