// The writers of the programming tables: each reads every record of one
// table from the current register and writes it as a line of the command
// that programs such a record. Each returns 0, 271 when the register has no
// such table, or the code of the read or write that failed (the lines before
// it stay in the file).
#pragma once

#include "files/line_file.h"

namespace quadrel {

using DumpWriter = int (*)(LineFile& file, bool numeric);

int DumpDepartments(LineFile& file, bool numeric);  // file 1
int DumpTable2(LineFile& file, bool numeric);       // file 2
int DumpVatRates(LineFile& file, bool numeric);     // file 3
int DumpHeaderLines(LineFile& file, bool numeric);  // file 4
int DumpOptions(LineFile& file, bool numeric);      // file 6
int DumpCurrencies(LineFile& file, bool numeric);   // file 7
int DumpGroups(LineFile& file, bool numeric);       // file 8
int DumpTable15(LineFile& file, bool numeric);      // file 9
int DumpTable21(LineFile& file, bool numeric);      // file 11

}  // namespace quadrel
