// "UA" and "UO": a text file of separated values loaded into the register's
// article file or O-file, one record a line.
#pragma once

#include "commands/transfers/transfer_options.h"
#include "files/line_file.h"

namespace quadrel {

// `data` is open for reading in the upload read slot. 0 when every line
// went in, 8193 when some failed (each one is in the log), 8198 when the
// register refused the reset, or an exchange error of the reset.
int XferUploadArticles(LineFile& data, LineFile* log, const TransferOptions& options);
int XferUploadOFile(LineFile& data, LineFile* log, const TransferOptions& options);

constexpr int kUploadReadSlot = 2;

}  // namespace quadrel
