#include "commands/reports/report_keys.h"

#include "config/ecr_config_read.h"
#include "files/capture_file.h"
#include "language/result_codes.h"
#include "link/register_checks.h"
#include "link/settings_write_back.h"
#include "state/ecr_config.h"

namespace quadrel {
namespace {

constexpr std::uint8_t kConfirmKey = 0x91;
// Function levels of the report flags.
constexpr int kFeatureSecondConfirm = 8;
constexpr int kFeatureNoRangeReports = 10;
constexpr int kFeatureExtendedReports = 75;
constexpr int kFeatureModel6Extension = 105;

}  // namespace

int PrepareReportEcr() {
  if (!EcrIdle()) return kResultEcrNotIdle;
  return ReadEcrConfig(0);
}

ReportModel CurrentReportModel() {
  const EcrConfigRecord& record = CurrentRecord();
  ReportModel model;
  model.letter = record.ModelLetter;
  model.subLetter = record.ModelSubLetter;
  model.extendedReports = HasFeature(kFeatureExtendedReports);
  model.model6Extension = HasFeature(kFeatureModel6Extension);
  model.noRangeReports = HasFeature(kFeatureNoRangeReports);
  model.secondConfirm = HasFeature(kFeatureSecondConfirm);
  return model;
}

bool NeedsSecondConfirm(const ReportModel& model) {
  if (model.letter == '9' || model.letter == '6') return true;
  return model.letter != 'R' && model.secondConfirm && !model.noRangeReports;
}

void AddModel6Tail(const ReportModel& model, KeyRecords& keys) {
  if (model.letter != '6') return;
  keys.Record().Key(0).Record().Key(0).Record().Key(kConfirmKey).Record().Key(kConfirmKey);
}

int StartReportCapture(const std::string& file, int blankLines, bool echo) {
  if (!file.empty()) {
    if (!OpenCaptureFile(file)) return kResultBatchFileOpenError;
    const std::string blanks(static_cast<std::size_t>(CurrentRecord().PrintWidth), ' ');
    for (int i = 0; i < blankLines; ++i) WriteCaptureLine(blanks);
  }
  if (!echo && !CaptureFile().file.IsOpen()) return 0;
  const int error = StartEcrEcho();
  if (error != 0) ResetCaptureFile();
  return error;
}

}  // namespace quadrel
