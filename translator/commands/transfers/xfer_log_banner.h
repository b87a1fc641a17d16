// Header and trailer lines of the logs of transfers and register file dumps.
#pragma once

#include "files/line_file.h"

namespace quadrel {

// Writes the log header when `trailer` is 0, else the trailer. Every line
// begins with ';' so that a log can be read back as a batch of comments.
// Header: the running command line, the selected register, the date and time,
// and the current register's identity. Trailer: the error counts of the
// transfer. False when a line could not be written.
bool WriteXferLogBanner(LineFile& file, int trailer);

}  // namespace quadrel
