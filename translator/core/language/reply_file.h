// The one-shot reply text of a command that also writes it to an answer
// file the client named (commands 71 and 79).
#pragma once

#include <string_view>

#include "files/line_file.h"

namespace quadrel {

// Sets the reply text and, when `file` is open, writes it as the file's one
// line and closes the file. 0; 11 with no reply when the line or the close
// fails (a full disk), so an answer file without its line is never an answer.
int ReplyWithFile(std::string_view text, LineFile& file);

}  // namespace quadrel
