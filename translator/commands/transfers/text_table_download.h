// "DT": the register's numbered text table into a data file, read entry by entry.
#pragma once

#include "commands/transfers/transfer_options.h"
#include "files/line_file.h"

namespace quadrel {

int XferTextTableToFile(LineFile& data, LineFile* log, const TransferOptions& options);

// The clearing of the table ('U' 0 20): 0, the exchange's error or the refusal.
int ClearTextTable();

}  // namespace quadrel
