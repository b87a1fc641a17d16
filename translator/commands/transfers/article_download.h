// "DA": the register's article file into a data file, one line an article.
#pragma once

#include "commands/transfers/transfer_options.h"
#include "files/line_file.h"

namespace quadrel {

int XferArticlesToFile(LineFile& data, LineFile* log, const TransferOptions& options);

}  // namespace quadrel
