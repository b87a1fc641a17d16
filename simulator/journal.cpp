#include "journal.h"

#include <algorithm>

namespace ecrsim {
namespace {

constexpr std::uint8_t kRefused = 1;
constexpr std::uint8_t kLastBlock = 0xFF;
constexpr std::uint8_t kByClosures = 0x80;
constexpr char kEscape = 27;
constexpr std::size_t kShortestBlankRun = 3;  // shorter runs print as they are

std::string Digits(std::span<const std::uint8_t> bcd) {
  std::string text;
  for (const std::uint8_t b : bcd) {
    text += static_cast<char>('0' + (b >> 4));
    text += static_cast<char>('0' + (b & 15));
  }
  return text;
}

// One end of a stretch, ordered: by dates YYMMDDHHMM, by closures the number.
struct StretchEnd {
  std::string when;
  int document = 0;
};

StretchEnd ReadEnd(std::span<const std::uint8_t> end, bool byClosures) {
  const std::string date = Digits(end.subspan(0, 3));
  const std::string when =
      byClosures ? Digits(end.subspan(1, 2))
                 : date.substr(4, 2) + date.substr(2, 2) + date.substr(0, 2) + Digits(end.subspan(3, 2));
  int document = 0;
  for (const char c : Digits(end.subspan(6, 2))) document = document * 10 + (c - '0');
  return {when, document};
}

std::string When(const JournalDocument& d, bool byClosures) {
  if (byClosures) {
    std::string number = std::to_string(d.closure);
    return std::string(4 - std::min<std::size_t>(number.size(), 4), '0') + number;
  }
  return d.date.substr(4, 2) + d.date.substr(2, 2) + d.date.substr(0, 2) + d.time;
}

// Lines end with a line feed, runs of blanks shrink to ESC n, a form feed ends the document.
void AppendText(const JournalDocument& d, std::string& text) {
  for (const std::string& line : d.lines) {
    for (std::size_t i = 0; i < line.size();) {
      std::size_t run = 0;
      while (i + run < line.size() && line[i + run] == ' ' && run < 255) ++run;
      if (run >= kShortestBlankRun) {
        text += kEscape;
        text += static_cast<char>(run);
        i += run;
      } else {
        text += line[i++];
      }
    }
    text += '\n';
  }
  text += '\f';
}

}  // namespace

void Journal::BeginDocument(int number) {
  if (documents_.size() >= kMaxJournalDocuments) documents_.pop_front();
  documents_.push_back({date, time, closure, number, {}});
  open_ = true;
}

void Journal::Record(std::string_view line) {
  if (!open_) {
    BeginDocument(0);
    open_ = false;
  }
  documents_.back().lines.emplace_back(line);
}

void Journal::EndDocument() {
  open_ = false;
}

std::vector<std::uint8_t> Journal::Select(std::span<const std::uint8_t> frame) {
  if (frame.size() != 20) return {'O', kRefused};
  const bool byClosures = (frame[3] & kByClosures) != 0;
  const StretchEnd from = ReadEnd(frame.subspan(4, 8), byClosures);
  const StretchEnd to = ReadEnd(frame.subspan(12, 8), byClosures);
  if (to.when < from.when) return {'O', kRefused};
  selected_.clear();
  sent_ = 0;
  for (const JournalDocument& d : documents_) {
    const std::string when = When(d, byClosures);
    if (when < from.when || when > to.when) continue;
    if (to.document != 0 && (d.number < from.document || d.number > to.document)) continue;
    AppendText(d, selected_);
  }
  return {'O', 0};
}

std::vector<std::uint8_t> Journal::NextBlock() {
  const std::size_t take = std::min(kJournalBlockBytes, selected_.size() - sent_);
  std::vector<std::uint8_t> answer(2 + take);
  answer[0] = 'O';
  std::copy_n(selected_.begin() + static_cast<std::ptrdiff_t>(sent_), take, answer.begin() + 2);
  sent_ += take;
  answer[1] = sent_ == selected_.size() ? kLastBlock : 0;
  return answer;
}

}  // namespace ecrsim
