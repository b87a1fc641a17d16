// "DF": the department and value tables, read from register memory, into a data file.
#pragma once

#include "commands/transfers/transfer_options.h"
#include "files/line_file.h"

namespace quadrel {

int XferDescriptionTables(LineFile& data, LineFile* log, const TransferOptions& options);

// The key sequence that clears the tables: 0 or the exchange's error.
int ClearDescriptionTables();

}  // namespace quadrel
