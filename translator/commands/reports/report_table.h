// Which register function runs a report of command 26, and in which key
// position, by the register's model: the translator's report numbers are one
// list, each model family numbers its functions its own way.
#pragma once

namespace quadrel {

// What the table needs of the register.
struct ReportModel {
  char letter = 0;     // ModelLetter
  char subLetter = 0;  // ModelSubLetter
  bool extendedReports = false;  // offers the extended report set (report 15)
  bool model6Extension = false;  // offers function 99 (model 6)
  bool noRangeReports = false;   // refuses reports 200-204
  bool secondConfirm = false;    // a resetting report takes a second confirm key
};

struct ReportFunction {
  int function = 0;  // 0: the model has no such report
  int position = 0;  // key position it runs in
};

constexpr int kFirstRangeReport = 200;
constexpr int kLastRangeReport = 204;

// `report` is #1; `resetting` is #2 = 1 (key position 3, else 2). Reports
// 200-204 choose their own key position.
ReportFunction MapReport(const ReportModel& model, int report, bool resetting);

}  // namespace quadrel
