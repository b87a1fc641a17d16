// "DM": the register's data-collect records into a data file, one line a record.
#pragma once

#include "commands/transfers/transfer_options.h"
#include "files/line_file.h"

namespace quadrel {

int XferDataCollectToFile(LineFile& data, LineFile* log, const TransferOptions& options);

}  // namespace quadrel
