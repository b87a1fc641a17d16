// The bookkeeping every download worker shares: the counters and the time of
// the transfer, one data line at a time with progress and the host's abort,
// refused records in the log, and the worker's result.
#pragma once

#include <cstdint>
#include <string>

#include "files/line_file.h"

namespace quadrel {

class TransferRun {
 public:
  // Resets the transfer counters; `expectedLines` sizes the progress (0: none shown).
  TransferRun(LineFile& data, LineFile* log, int expectedLines);

  // Writes `line` into the data file (a separated-value line loses its
  // trailing separator), counts it and reports progress. False when the
  // host asked to stop (the reply then says so) or the line could not be
  // written (Finish then gives kResultDataFileOpenError).
  bool WriteDataLine(std::string line, bool separatedValues);

  // Hands the lines written so far to the system, before the register may
  // drop what they hold. False when they could not all be written (Finish
  // then gives kResultDataFileOpenError).
  bool FlushData();

  // Reports `count` lines done at `percent` with `text` to the host. False
  // when the host asked to stop (the reply then says so, and the transfer
  // state's StoppedByHost).
  bool Report(int count, int percent, const std::string& text);

  // A line that went to the register.
  void CountLine() { ++lines_; }

  // A line that failed: counted, and its result text written into the log.
  // `byRegister` for a refusal of the register. Returns that text.
  std::string CountError(int code, bool byRegister);

  // Stores the lines and the time for the result text and returns the
  // worker's result: `failure` when not 0, else 8193 when an error was
  // counted, else 0.
  int Finish(int failure);

  int LinesWritten() const { return lines_; }
  bool WriteFailed() const { return writeFailed_; }

 private:
  LineFile& data_;
  LineFile* log_;
  int expected_;
  int lines_ = 0;
  bool writeFailed_ = false;
  std::uint32_t start_;
};

// Writes `code`'s result text as one line into an open log; returns the text.
std::string LogResult(LineFile* log, int code);

}  // namespace quadrel
