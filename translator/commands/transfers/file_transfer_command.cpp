#include "commands/transfers/file_transfer_command.h"

#include <string>

#include "commands/transfers/article_download.h"
#include "commands/transfers/data_collect_download.h"
#include "commands/transfers/description_tables.h"
#include "commands/transfers/ofile_download.h"
#include "commands/transfers/text_table_download.h"
#include "commands/transfers/transfer_options.h"
#include "commands/transfers/transfer_run.h"
#include "commands/transfers/uploads.h"
#include "commands/transfers/xfer_log_banner.h"
#include "config/ecr_config_read.h"
#include "interfaces/host_info.h"
#include "language/command_field_values.h"
#include "language/result_codes.h"
#include "link/frame_exchange.h"
#include "link/register_link.h"
#include "state/ecr_config.h"
#include "state/library_state.h"
#include "state/transfer_state.h"

namespace quadrel {
namespace {

constexpr int kModeSlot = 1;
constexpr int kDataFileSlot = 2;
constexpr int kLogFileSlot = 3;

using Worker = int (*)(LineFile& data, LineFile* log, const TransferOptions& options);
using ClearStep = int (*)();

// A download's worker and, where #5 clears the register's file at the end,
// that clearing (articles clear record by record inside their worker).
struct Download {
  Worker worker = nullptr;
  ClearStep clear = nullptr;
};

Download DownloadOf(TransferMode mode) {
  switch (mode) {
    case TransferMode::DownloadArticles:
      return {XferArticlesToFile};
    case TransferMode::DownloadOFile:
      return {XferOFileToFile};
    case TransferMode::DownloadDataCollect:
      return {XferDataCollectToFile};
    case TransferMode::DownloadTextTable:
      return {XferTextTableToFile, ClearTextTable};
    case TransferMode::DownloadDescriptions:
      return {XferDescriptionTables, ClearDescriptionTables};
    default:
      return {};
  }
}

bool OpenDataFile(DataFileUse use, const TransferOptions& options, LineFile& data) {
  const std::string& name = FieldText(kDataFileSlot);
  if (use == DataFileUse::Read) return OpenLineFile(name, LINE_OPEN_EXISTING, data, kUploadReadSlot);
  const int mode = options.append ? LINE_OPEN_ALWAYS | LINE_APPEND | LINE_READ_WRITE
                                  : LINE_CREATE_ALWAYS | LINE_READ_WRITE;
  return OpenLineFile(name, mode, data, 0);
}

void RequestHost(const TransferOptions& options, int request) {
  if (options.hostRequests && (Library().TradFlags & TRADF_MULTI_ECR))
    RequestHostService(request, 0, nullptr, nullptr, nullptr, nullptr, nullptr);
}

// The worker between the host's begin and end requests; a download's data
// between its banner lines, closed before any clearing.
int RunWorker(TransferMode mode, const TransferOptions& options, LineFile& data, LineFile* log) {
  switch (mode) {
    case TransferMode::ResetDataCollect:
      return XferResetDataCollect();
    case TransferMode::ResetArticles:
      return XferResetArticles();
    case TransferMode::UploadArticles:
      return XferUploadArticles(data, log, options);
    case TransferMode::UploadOFile:
      return XferUploadOFile(data, log, options);
    default:
      break;
  }
  const Download download = DownloadOf(mode);
  if (options.banner && !WriteXferLogBanner(data, 0)) return kResultDataFileOpenError;
  int result = download.worker(data, log, options);
  if (options.banner && !WriteXferLogBanner(data, 1) && result == 0) result = kResultDataFileOpenError;
  // The register's copy goes only once all of it is safely in the closed
  // data file: nothing refused, stopped or lost on a full disk.
  if (!data.Close() && result == 0) result = kResultDataFileOpenError;
  if (options.clear && download.clear && result == 0 && !Transfer().StoppedByHost) result = download.clear();
  return result;
}

// Everything after the log is open: the register's state, the stand-by, the
// data file and the worker.
int RunTransfer(TransferMode mode, const TransferOptions& options, LineFile* log) {
  if (!Library().broadcastMode) {
    if (const int error = ReadEcrConfig(0)) return error;
  }
  const EcrConfigRecord& record = CurrentRecord();
  if (record.HasInfoFrames == 0 || record.InfoStatus != 0) return kResultEmBoardNotInitialised;
  const bool standBy = options.standByMode >= 0;
  if (standBy) {
    if (const int error = SetEcrStandBy(options.standByMode)) return error;
  }
  LineFile data;
  const DataFileUse use = DataFileUseOf(mode);
  int result = kResultDataFileOpenError;
  if (use == DataFileUse::None || OpenDataFile(use, options, data)) {
    RequestHost(options, ECRIO_XFER_BEGIN);
    result = RunWorker(mode, options, data, log);
    RequestHost(options, ECRIO_XFER_END);
  }
  if (standBy) ReleaseEcrStandBy();
  if (!data.Close() && result == 0) result = kResultDataFileOpenError;
  return result;
}

}  // namespace

int CmdFileTransfer() {
  // A mode or an option that cannot run is refused before any file is
  // opened: an output file is not emptied for nothing.
  TransferMode mode;
  if (!FindTransferMode(FieldText(kModeSlot), mode)) return kResultIllegalTransferMode;
  TransferOptions options;
  if (const int error = ReadTransferOptions(options)) return error;

  LineFile log;
  const std::string& logName = FieldText(kLogFileSlot);
  if (!logName.empty() && !OpenLineFile(logName, LINE_CREATE_ALWAYS | LINE_READ_WRITE, log, 0))
    return kResultLogFileOpenError;
  bool& flush = Library().switches.BufferFlush;
  const bool flushBefore = flush;
  if (options.flush) flush = true;

  const int result = RunTransfer(mode, options, &log);
  const bool uploadLoggedItsLines =
      result == kResultTransferErrors && DataFileUseOf(mode) == DataFileUse::Read;
  if (result != 0 && !uploadLoggedItsLines) LogResult(&log, result);
  flush = flushBefore;
  return result;
}

}  // namespace quadrel
