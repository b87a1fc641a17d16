#include "printer/journal.h"

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
std::string ReadEnd(std::span<const std::uint8_t> end, bool byClosures, int& document) {
  document = 0;
  for (const char c : Digits(end.subspan(6, 2))) document = document * 10 + (c - '0');
  if (byClosures) return Digits(end.subspan(1, 2));
  return Journal::DateKey(Digits(end.subspan(0, 3)), Digits(end.subspan(3, 2)));
}

std::string When(const JournalDocument& d, bool byClosures) {
  if (byClosures) {
    std::string number = std::to_string(d.closure);
    return std::string(4 - std::min<std::size_t>(number.size(), 4), '0') + number;
  }
  return Journal::DateKey(d.date, d.time);
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

std::string Journal::DateKey(std::string_view ddmmyy, std::string_view hhmm) {
  if (ddmmyy.size() != 6) return std::string(hhmm);
  return std::string(ddmmyy.substr(4, 2)) + std::string(ddmmyy.substr(2, 2)) + std::string(ddmmyy.substr(0, 2)) +
         std::string(hhmm);
}

std::vector<const JournalDocument*> Journal::Documents(const JournalStretch& stretch) const {
  std::vector<const JournalDocument*> found;
  for (const JournalDocument& d : documents_) {
    const std::string when = When(d, stretch.byClosures);
    if (when < stretch.from || when > stretch.to) continue;
    if (stretch.toDocument != 0 && (d.number < stretch.fromDocument || d.number > stretch.toDocument)) continue;
    found.push_back(&d);
  }
  return found;
}

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
  JournalStretch stretch;
  stretch.byClosures = (frame[3] & kByClosures) != 0;
  stretch.from = ReadEnd(frame.subspan(4, 8), stretch.byClosures, stretch.fromDocument);
  stretch.to = ReadEnd(frame.subspan(12, 8), stretch.byClosures, stretch.toDocument);
  if (stretch.to < stretch.from) return {'O', kRefused};
  selected_.clear();
  sent_ = 0;
  for (const JournalDocument* d : Documents(stretch)) AppendText(*d, selected_);
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
