// Separated-value dump lines and the progress the longer dumps report.
#pragma once

#include <string>

#include "files/line_file.h"

namespace quadrel {

// Reports `count` lines of `total` (percent at most 100) to the host's
// progress callback with the "OK." text; the count goes plus 100000 while a
// batch file runs. A dump is not stopped from there.
void ReportDumpProgress(int count, int total);

// Ends the separated-value line in `line`: one trailing SeparatorChar goes,
// the line is written and emptied, `count` grows by one and the progress is
// reported against `total`. 0, or 11 when the file takes no more.
int WriteDumpLine(LineFile& file, std::string& line, int& count, int total);

}  // namespace quadrel
