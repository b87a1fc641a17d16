// Command 26: #1 report (default 1), #2 = 1 resetting, #3 = 0 keys the
// key-position-4 code first, #4 bare flag: echo without a file, #6/#7 range
// of reports 201 and 203, #8/#9 dates (DDMMYY) of reports 202 and 204, #10
// capture file.
#include <algorithm>
#include <string>
#include <string_view>

#include "commands/reports/report_commands.h"
#include "commands/reports/report_keys.h"
#include "files/capture_file.h"
#include "language/command_field_values.h"
#include "language/result_codes.h"
#include "state/ecr_config.h"
#include "state/executor_state.h"
#include "state/library_state.h"

namespace quadrel {
namespace {

constexpr std::uint8_t kConfirmKey = 0x91;
constexpr std::uint8_t kFunctionKey = 0x93;
constexpr std::uint8_t kKeyPositionKey = 14;
constexpr int kDateLength = 6;
constexpr int kJkKeptLines = 2;  // J-K prints two lines after the report that belong at its head

int Number(int slot, int fallback) {
  int value = fallback;
  return FieldGiven(slot) && FieldInteger(slot, value) ? value : fallback;
}

// A day of the register's calendar as DDMMYY (years 2000-2099).
bool IsDate(std::string_view text) {
  if (text.size() != kDateLength ||
      !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
    return false;
  const auto pair = [&](std::size_t at) { return (text[at] - '0') * 10 + (text[at + 1] - '0'); };
  const int day = pair(0), month = pair(2), year = pair(4);
  constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12 || day < 1) return false;
  return day <= kDays[month - 1] + (month == 2 && year % 4 == 0 ? 1 : 0);
}

// A date that is not one counts as not given.
std::string Date(int slot) {
  const std::string& text = FieldText(slot);
  return IsDate(text) ? text : std::string();
}

// The range or dates that reports 201-204 key after their function.
int AddRangeFields(int report, KeyRecords& keys) {
  if (report == 201 || report == 203) {
    int from = 0, to = 0;
    if (!FieldInteger(6, from) || !FieldInteger(7, to) || from <= 0 || to < from) return kResultIllegalValue;
    keys.ConfirmedNumber(std::to_string(from)).ConfirmedNumber(std::to_string(to));
  } else if (report == 202 || report == 204) {
    const std::string from = Date(8), to = Date(9);
    if (from.empty() || to.empty()) return kResultIllegalValue;
    keys.ConfirmedNumber(from).ConfirmedNumber(to);
  }
  return 0;
}

}  // namespace

int CmdPrintReport() {
  CaptureFile().keepLines = 0;
  Library().settingsChanged = false;
  ResetCaptureFile();
  if (const int error = PrepareReportEcr()) return error;

  const int report = Number(1, 1);
  const bool resetting = Number(2, 0) == 1;
  const ReportModel model = CurrentReportModel();
  const int keptLines = model.letter == 'J' && model.subLetter == 'K' ? kJkKeptLines : 0;
  const ReportFunction mapped = MapReport(model, report, resetting);
  if (mapped.function == 0) return kResultReportNotSupported;

  KeyRecords keys;
  const int keyPosition4Code = CurrentRecord().ModelLimitC;
  if (Number(3, 3) == 0 && keyPosition4Code != 0)
    keys.KeyPosition(4).ConfirmedNumber(std::to_string(keyPosition4Code));
  keys.Record().Digits(std::to_string(mapped.position)).Key(kKeyPositionKey);
  keys.Record().Digits(std::to_string(mapped.function));
  const bool ranged = report >= kFirstRangeReport && report <= kLastRangeReport;
  if (!ranged && mapped.function != 99) keys.Key(kFunctionKey);
  keys.Key(kConfirmKey);
  if (report >= 1 && report <= 4 && resetting && NeedsSecondConfirm(model)) keys.Key(kConfirmKey);
  if (const int error = AddRangeFields(report, keys)) return error;
  if (resetting) AddModel6Tail(model, keys);
  keys.KeyPosition(1);

  CaptureFile().keepLines = keptLines;
  if (const int error = StartReportCapture(FieldText(10), keptLines, FieldIsFlag(4))) return error;
  if (const int error = keys.Queue()) {
    ResetCaptureFile();
    return error;
  }
  Executor().StopOnRecordError = 1;
  return 0;
}

}  // namespace quadrel
