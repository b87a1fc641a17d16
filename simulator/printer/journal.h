// The register's electronic journal: every printed line, kept by document
// (a receipt, or a line printed on its own) with the date, time and closure
// number it was printed under, and served to the host's direct read
// ('O' 15 chooses a stretch, 'O' 16 fetches its text block by block).
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace ecrsim {

constexpr std::size_t kJournalBlockBytes = 100;      // text bytes of one 'O' 16 answer
constexpr std::size_t kMaxJournalDocuments = 10000;  // older documents are dropped

struct JournalDocument {
  std::string date;  // DDMMYY
  std::string time;  // HHMM
  int closure = 0;
  int number = 0;  // receipt number; 0 for a line printed on its own
  std::vector<std::string> lines;
};

// A stretch of the journal: by dates (keys of DateKey) or by closure
// numbers, and within it the document numbers when `toDocument` is not 0.
struct JournalStretch {
  std::string from, to;
  int fromDocument = 0, toDocument = 0;
  bool byClosures = false;
};

class Journal {
 public:
  // The clock and closure the next documents are stamped with.
  std::string date = "010124";
  std::string time = "0900";
  int closure = 1;

  void BeginDocument(int number);
  void Record(std::string_view line);
  void EndDocument();
  const std::deque<JournalDocument>& Documents() const { return documents_; }
  std::vector<const JournalDocument*> Documents(const JournalStretch& stretch) const;

  // DDMMYY and HHMM as a key that orders by time.
  static std::string DateKey(std::string_view ddmmyy, std::string_view hhmm);

  // Answers to 'O' 15 (a 20-byte frame) and 'O' 16, letter and status first.
  std::vector<std::uint8_t> Select(std::span<const std::uint8_t> frame);
  std::vector<std::uint8_t> NextBlock();

 private:
  std::deque<JournalDocument> documents_;  // the oldest dropped at the front without moving the rest
  bool open_ = false;
  std::string selected_;  // the text being served
  std::size_t sent_ = 0;
};

}  // namespace ecrsim
