// The translator's message texts: internal messages, totals names and the
// per-class error messages. Defaults are written at every TradInit; the
// definitions file may replace any row.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace quadrel {

// A fixed number of rows, each a text of bounded length.
class MessageTable {
 public:
  MessageTable(int rows, std::size_t maxLength);

  int RowCount() const { return static_cast<int>(rows_.size()); }
  std::size_t MaxLength() const { return maxLength_; }
  // The text of `row`; empty for a row outside the table.
  const std::string& Row(int row) const;
  // False (and nothing changes) for a row outside the table or a text too long.
  bool SetRow(int row, std::string_view text);
  void Clear();

 private:
  std::vector<std::string> rows_;
  std::size_t maxLength_;
};

constexpr int kIntMsgRows = 40;
constexpr int kTotgRows = 100;
constexpr std::size_t kShortMessageLength = 31;  // IntMsgTable and TotgTable rows
constexpr std::size_t kErrMsgLength = 79;
constexpr int kErrMsgTableCount = 10;

// Rows of IntMsgTable that the code uses.
enum IntMsgRow {
  kMsgOk = 1,
  kMsgNonOk = 2,
  kMsgError = 3,
  kMsgAborted = 4,
  kMsgYes = 5,
  kMsgNo = 6,
  kMsgFileError = 7,
  kMsgExtFileError = 8,
  kMsgWaitingTransactionEnd = 9,
  kMsgLogCommand = 10,
  kMsgLogEcrNumber = 11,
  kMsgLogEcrId = 12,
  kMsgLogDate = 13,
  kMsgEcr = 14,
  kMsgLogErrors = 15,
  kMsgLogEnd = 16,
  kMsgWaitingChipCard = 17,
  kMsgCallInProgress = 18,
  kMsgWaitReady = 19,
};

MessageTable& IntMsgTable();
MessageTable& TotgTable();
// Table 0 to 9, one per result class; any other number gives an empty table.
MessageTable& ErrMsgTable(int table);

// Writes the built-in texts and empties TotgTable. Rows without a built-in
// text keep what an earlier definitions file put there.
void WriteDefaultMessageTexts();

}  // namespace quadrel
