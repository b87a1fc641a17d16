// The text that goes with a ResultCode, and the one-shot texts that handlers
// leave for the next success text.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace quadrel {

struct OneShotText {
  std::string text;
  bool set = false;
};

struct TransferStatsRecord {
  bool set = false;  // shown after "OK." while set
  int lines = 0;
  int msec = 0;
};

struct LineErrorMark {
  bool set = false;  // the next error text names the line
  int line = 0;
};

// A handler's own words for the code it fails with, in place of the class text.
struct ErrorDetail {
  int code = 0;
  std::string text;
};

struct ReplyState {
  OneShotText PendingMessage;  // replaces the next success text
  OneShotText PendingReply;    // replaces the next success text (answers of enquiries)
  std::string ReplyExtra;      // appended after "OK." once
  TransferStatsRecord TransferStats;
  LineErrorMark BatchLineError;     // line of the batch file that failed
  LineErrorMark TransferLineError;  // line of the transfer file that failed
  ErrorDetail FailureDetail;        // for the line that runs; cleared as each line starts
};

ReplyState& Reply();

// Longest answer text of an enquiry.
constexpr std::size_t kPendingReplyChars = 512;

// Sets the PendingReply to `text`, cut to kPendingReplyChars.
void SetPendingReply(std::string_view text);

// Returns `code` and has its error text say `text` instead of the class text.
int FailWithDetail(int code, std::string_view text);

// Code 0: the pending message, else the pending reply, else "OK." with the
// reply extra and the transfer statistics; the one-shot texts used are
// consumed. Code 16: "NON OK. " is appended to `dst`. Any other code: "ERROR ",
// class and row, the failing line when one is marked, and the class's texts
// (or the failure detail given for this code).
void FormatResultText(std::string& dst, int code);

}  // namespace quadrel
