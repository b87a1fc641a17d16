#include "commands/reports/report_table.h"

#include <string_view>

namespace quadrel {
namespace {

constexpr std::string_view kListL = "123679AEMSTWZ";
constexpr std::string_view kNumberedDailyModels = "1236MSTW";  // and J without K: 2, 1, 3 for reports 2-4

bool In(std::string_view models, char letter) {
  return letter != 0 && models.find(letter) != std::string_view::npos;
}

// Models J with sub-letter K, J alone, K alone.
enum class Family { ListL, JK, JOnly, K, Other };

Family FamilyOf(const ReportModel& m) {
  if (m.letter == 'J') return m.subLetter == 'K' ? Family::JK : Family::JOnly;
  if (m.letter == 'K') return Family::K;
  return In(kListL, m.letter) ? Family::ListL : Family::Other;
}

// The function of a daily report, 0 when the model lacks it; by family:
// list L, J-K, J alone, K.
int DailyFunction(const ReportModel& m, int report) {
  struct Row {
    int report;
    int listL, jk, jOnly, k;
  };
  static constexpr Row kRows[] = {
      {10, 4, 2, 4, 2},
      {11, 6, 4, 6, 0},
      {13, 5, 3, 5, 0},
      {15, 10, 8, 10, 5},
  };
  const Family family = FamilyOf(m);
  if (report == 11 && m.letter == 'R') return 6;
  for (const Row& row : kRows) {
    if (row.report != report) continue;
    if (report == 15 && !m.extendedReports) return 0;
    switch (family) {
      case Family::ListL:
        return row.listL;
      case Family::JK:
        return row.jk;
      case Family::JOnly:
        return row.jOnly;
      case Family::K:
        return row.k;
      case Family::Other:
        return 0;
    }
  }
  return 0;
}

// Reports 200-204: the function and key position by model, 0 when refused.
ReportFunction RangeFunction(const ReportModel& m, int report) {
  // Functions for reports 200, 201, 202, 203, 204.
  static constexpr int kPosition4Models[] = {200, 201, 202, 0, 203};  // 1, 2, 3, 6, M
  static constexpr int kJstwModels[] = {10, 11, 14, 0, 15};           // J, S, T, W
  static constexpr int kModelK[] = {200, 203, 204, 201, 202};
  if (m.noRangeReports) return {};
  const int row = report - kFirstRangeReport;
  if (In("1236M", m.letter)) return {kPosition4Models[row], 4};
  if (In("JSTW", m.letter)) return {kJstwModels[row], 3};
  if (m.letter == 'K') return {kModelK[row], 3};
  return {};
}

}  // namespace

ReportFunction MapReport(const ReportModel& m, int report, bool resetting) {
  if (report >= kFirstRangeReport && report <= kLastRangeReport) {
    const ReportFunction found = RangeFunction(m, report);
    return found.function != 0 ? found : ReportFunction{};
  }
  int function = 0;
  if (report == 1) {
    function = 1;
  } else if (report >= 2 && report <= 4) {
    static constexpr int kNumbered[] = {2, 1, 3};
    const bool numbered = In(kNumberedDailyModels, m.letter) || FamilyOf(m) == Family::JOnly;
    function = numbered ? kNumbered[report - 2] : 1;
  } else if (report == 16) {
    function = m.letter == 'Z' ? 11 : 0;
  } else if (report == 99) {
    function = m.letter == '6' && m.model6Extension ? 99 : 0;
  } else {
    function = DailyFunction(m, report);
  }
  if (function == 0) return {};
  return {function, resetting ? 3 : 2};
}

}  // namespace quadrel
