// The one data-capture file of the translator: the report capture of commands
// 26, 27 and 72, filled line by line from the register's echo events and
// closed after the command's key batch has been sent.
#pragma once

#include <string>
#include <string_view>

#include "files/line_file.h"

namespace quadrel {

struct CaptureFileState {
  LineFile file;
  std::string name;
  int lineCount = 0;  // lines written to the file, placeholder lines included
  // Trailing lines that belong at the head of the file: the opening command
  // writes this many blank placeholder lines first, and the trim moves the
  // last lines over them when the file is closed.
  int keepLines = 0;
  // A line or the file's end could not be written: the file is incomplete.
  bool failed = false;
};

CaptureFileState& CaptureFile();

// Creates `name` (replacing a file of that name) as the capture file, its
// line count 0. False when it cannot be created; no file is open then.
bool OpenCaptureFile(const std::string& name);

// Writes `text` as a line of the open file and counts it; a line that cannot
// be written marks the file incomplete. Nothing happens without an open file.
void WriteCaptureLine(std::string_view text);

// Closes the file, then, when keepLines is not 0, moves its last keepLines x
// (PrintWidth of the current register + 2) bytes over its start and cuts that
// many bytes off its end, and forgets it (name, counts). A file shorter than
// the bytes to move stays as it is. False when the file is incomplete: a line,
// the close or the move failed. True without an open file.
bool TrimAndCloseCaptureFile();

// Closes the file without trimming and forgets it (initialisation, detach).
void ResetCaptureFile();

}  // namespace quadrel
