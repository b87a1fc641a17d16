#include "exports/translator_entry.h"

#include <cstdio>
#include <string>

#include "commands/barcodes/barcode_library.h"
#include "config/ecr_config_read.h"
#include "exports/process_state.h"
#include "exports/translator_switches.h"
#include "files/capture_file.h"
#include "language/definition_file.h"
#include "language/definition_tables.h"
#include "language/message_tables.h"
#include "language/result_text.h"
#include "link/frame_exchange.h"
#include "link/key_batch.h"
#include "link/settings_write_back.h"
#include "state/ecr_config.h"
#include "state/executor_state.h"
#include "state/library_state.h"
#include "text/code_page.h"

namespace quadrel {
namespace {

// Asks the host for its host-info record; null when the host has none.
HostInfoRecord* RequestHostInfo(TradEcrIOProc hostIO) {
  HostInfoRecord* record = nullptr;
  if (hostIO(ECRIO_GET_INFO, 0, nullptr, nullptr, nullptr, nullptr, &record) != 0) return nullptr;
  return record;
}

int FlagsFromProtocolType(int protocolType) {
  switch (protocolType) {
    case 1: return TRADF_MULTI_ECR;
    case 2: return TRADF_REMOTE;
    case 3:
    case 4:
    case 6: return TRADF_CONNECT;
    default: return 0;
  }
}

void TraceStartUp() {
  const LibraryState& lib = Library();
  char line[128];
  std::snprintf(line, sizeof line, "version Quadrel.dll %d", kTranslatorVersion);
  HostTraceLine(2, line);
  if (const HostInfoRecord* info = lib.host.info) {
    std::snprintf(line, sizeof line, "Version protocol type=%d version of dll %d", info->protocolType,
                  info->versionMajor * 1000000 + info->versionMinor * 1000 + info->versionBuild);
    HostTraceLine(2, line);
  }
  const struct {
    const char* format;
    int value;
  } switches[] = {
      {"AlwayMaxSpeedFP = %d", lib.switches.AlwayMaxSpeedFP},
      {"AutoSlaveOnBatch = %d", lib.switches.AutoSlaveOnBatch},
      {"RetryOn8XXX = %d", lib.switches.RetryOn8XXX},
      {"RetryOn16XXX = %d", lib.switches.RetryOn16XXX},
      {"CoverOpenPaperEmptyMode = %d", lib.switches.CoverOpenPaperEmptyMode},
  };
  for (const auto& entry : switches) {
    std::snprintf(line, sizeof line, entry.format, entry.value);
    HostTraceLine(2, line);
  }
}

}  // namespace

int AttachTranslator() {
  const int barcodeResult = BindBarcodeLibrary();
  ResetProcessState();
  ClearDefinitionTables();
  return barcodeResult;
}

void DetachTranslator() {
  // Only local clean-up here: the host's protocol library may already be gone,
  // so no frame may be exchanged at process detach (TradClose writes back).
  ResetCaptureFile();
}

}  // namespace quadrel

using namespace quadrel;

int QUADREL_CALL TradInit(const char* iniPath, int flags, TradProgressProc onProgress,
                          TradEcrIOProc hostIO) {
  // Options set by the host stay in force across TradClose and TradInit;
  // everything else starts afresh.
  const TranslatorOptions options = Library().options;
  ResetProcessState();
  LibraryState& lib = Library();
  lib.options = options;
  lib.host.progress = onProgress;
  lib.host.hostIO = hostIO;
  if (!hostIO) return kTradInitNoHost;  // without a host nothing can run
  lib.TradFlags = flags;

  // Switches start from their defaults, so a removed registry value takes effect.
  std::string path = ReadTranslatorSwitches(iniPath ? iniPath : "", lib.switches);
  if (!LoadDefinitionFile(path)) return kTradInitDefinitionFileFailed;

  lib.initialised = true;
  lib.host.info = RequestHostInfo(hostIO);
  if (HostInfoRecord* info = lib.host.info) {
    lib.TradFlags |= FlagsFromProtocolType(info->protocolType);
    info->progress = onProgress;
  }
  lib.batchEcho = (lib.TradFlags & TRADF_ECHO_LINES) != 0;

  CurrentEcr() = 0;
  SelectedEcr() = 0;
  if (!(lib.TradFlags & TRADF_REMOTE)) {
    // A register that cannot be read now is reported by the commands later.
    CurrentEcr() = 1;
    ReadEcrConfigsAtInit();
    SelectedEcr() = 1;
    SetCurrentRecordSlot(1);
  }
  TraceStartUp();
  return kTradInitReady;
}

int QUADREL_CALL TradClose() {
  // Changed register settings go back while the host can still carry frames.
  if (Library().initialised) WriteBackEcrSettings();
  // The host closes its protocol library next; its host-info record goes with it.
  Library().host.info = nullptr;
  ResetCaptureFile();
  InvalidateAllEcrRecords();
  SelectedEcr() = 0;
  SetCurrentRecordSlot(0);
  return 0;
}
