// The writers of command 3: each reads every record of one register file
// and writes it as a line of the command that loads such a record, or as
// separated values. Each returns 0 or the code of the read or write that
// failed (the lines before it stay in the file).
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
int DumpKeyboardLayout(LineFile& file, bool numeric);  // file 10
int DumpTable21(LineFile& file, bool numeric);      // file 11
int DumpFile20(LineFile& file, bool numeric);       // the totals files, always with names
int DumpFile22(LineFile& file, bool numeric);
int DumpFile23(LineFile& file, bool numeric);
int DumpFile24(LineFile& file, bool numeric);
int DumpFile30(LineFile& file, bool numeric);       // separated values
int DumpFile31(LineFile& file, bool numeric);
int DumpTotalsReport(LineFile& file, bool numeric);  // file 99, keyed separated values
int DumpTotalsReport2(LineFile& file, bool numeric); // file 199
int DumpEcrMemory(LineFile& file, bool numeric);    // file 9999

// Whether the register has the file: a dump of one it lacks is refused (271)
// before its output file is opened.
bool HasCurrencyFile();  // file 7
bool HasGroupFile();     // file 8
bool HasTable15();       // file 9
bool HasTable21();       // file 11
bool HasFile30();        // file 30: the configuration gives it records
bool HasFile31();        // file 31

}  // namespace quadrel
