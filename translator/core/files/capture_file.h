// The one data-capture file of the translator: the report capture of commands
// 26, 27 and 72, filled line by line from the register's echo events and
// closed after the command's key batch has been sent.
#pragma once

#include <string>

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
};

CaptureFileState& CaptureFile();

// Creates `name` (replacing a file of that name) as the capture file, its
// line count 0. False when it cannot be created; no file is open then.
bool OpenCaptureFile(const std::string& name);

// When keepLines is not 0, moves the file's last keepLines x (PrintWidth of the
// current register + 2) bytes over its start and cuts that many bytes off its
// end. Then closes the file and forgets it (name, counts). Nothing happens
// without an open file. A file shorter than the bytes to move is closed as it is.
void TrimAndCloseCaptureFile();

// Closes the file without trimming and forgets it (initialisation, detach).
void ResetCaptureFile();

}  // namespace quadrel
