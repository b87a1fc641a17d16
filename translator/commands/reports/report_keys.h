// What the report commands (26 and 27) share: the register's model as the
// report table reads it, the extra confirm and closing keys some models
// need, and the capture of the printed report through the line echo.
#pragma once

#include <string>

#include "commands/reports/report_table.h"
#include "link/key_records.h"

namespace quadrel {

// The register must be idle (else 6); then its configuration is read.
int PrepareReportEcr();

// The current register's model and report flags.
ReportModel CurrentReportModel();

// A resetting report or closure ends with a second confirm key on models 9
// and 6, and on a register (not of model R) that asks for it and has the
// range reports.
bool NeedsSecondConfirm(const ReportModel& model);

// Model 6 closes a resetting report with two clear and two confirm records.
void AddModel6Tail(const ReportModel& model, KeyRecords& keys);

// Opens `file` as the capture file when it is not empty (11 when it cannot
// be created), writes `blankLines` lines of blanks first, and when `echo` or
// a file is open switches the line echo on and tells the host. A failure
// closes the file and is returned.
int StartReportCapture(const std::string& file, int blankLines, bool echo);

}  // namespace quadrel
