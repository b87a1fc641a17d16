// What the register hands over in the host's file transfers: the article file
// as a numbered download session, the data-collect records, and the
// numbered text table.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <span>
#include <vector>

#include "stores/record_files.h"

namespace ecrsim {

struct Reply;

// One entry of the text table: the word and the amount the register keeps for it.
struct TextTableEntry {
  std::uint16_t word = 0;
  RecordBytes amount;
};

class TransferFiles {
 public:
  static bool Handles(std::span<const std::uint8_t> frame);
  Reply Answer(std::span<const std::uint8_t> frame, RecordFiles& records, const RecordGeometry& geometry);

  // Data collection. The file information's record count follows the records.
  void AddCollected(RecordBytes record, RegisterConfig& config);
  void ClearCollected(RegisterConfig& config);
  const std::vector<RecordBytes>& Collected() const { return collected_; }
  bool collectOverflow = false;  // the register reports the memory overflowed

  std::map<int, TextTableEntry> textTable;
  int textTableClears = 0;

  // Sequence numbers the link loses in a download: the register counts them
  // as sent, the host never sees them (each is lost once).
  std::set<int> lostSequences;

 private:
  Reply Download(std::uint8_t subCode, std::span<const std::uint8_t> rest, RecordFiles& records,
                 const RecordGeometry& geometry);
  Reply NextArticle(const RecordFiles& records, const RecordGeometry& geometry);
  Reply SelectCollected(std::span<const std::uint8_t> rest);
  Reply NextCollected();
  Reply TextEntry(std::uint8_t n) const;

  // The open download: the codes in file order when it opened, the next one
  // to send, how many were sent, and the last one delivered.
  bool downloadOpen_ = false;
  bool codesOnly_ = false;
  std::vector<RecordBytes> downloadCodes_;
  std::size_t nextArticle_ = 0;
  int sent_ = 0;
  std::optional<RecordBytes> lastDelivered_;

  std::vector<RecordBytes> collected_;
  std::size_t nextCollected_ = 0;
  bool selectedRead_ = false;  // the last record went to a selected transfer
};

}  // namespace ecrsim
