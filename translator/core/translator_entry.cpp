#include "translator_entry.h"

#include <cstdio>
#include <string>

#include "barcode_library.h"
#include "capture_file.h"
#include "code_page.h"
#include "definition_file.h"
#include "definition_tables.h"
#include "ecr_config.h"
#include "ecr_config_read.h"
#include "executor_state.h"
#include "frame_exchange.h"
#include "key_batch.h"
#include "library_state.h"
#include "message_tables.h"
#include "result_text.h"
#include "settings_write_back.h"
#include "translator_switches.h"

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
  LibraryState& lib = Library();
  int barcodeResult = BindBarcodeLibrary();
  lib = LibraryState{};
  ResetAllEcrRecords();
  CurrentEcr() = 1;
  SelectedEcr() = 0;
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
  LibraryState& lib = Library();
  lib.host.progress = onProgress;
  lib.host.hostIO = hostIO;
  if (!hostIO) {
    // Without a host nothing can run; an earlier successful TradInit must not
    // leave the library usable with a null callback.
    lib.initialised = false;
    lib.host.info = nullptr;
    return kTradInitNoHost;
  }

  lib.TradFlags = flags;
  lib.initialised = false;
  // The record belongs to the protocol library of an earlier port, which may be
  // gone; it is asked for again below.
  lib.host.info = nullptr;
  lib.broadcastMode = false;
  lib.model6Mode = false;
  lib.progFunctionKeyed = false;
  Executor() = ExecutorState{};
  KeyBatch().Clear();
  EcrStatusBytes() = {};
  Reply().PendingMessage = {};
  Reply().PendingReply.set = false;
  Reply().TransferStats.set = false;
  WriteDefaultMessageTexts();
  BuildCodePageTables();
  ResetCaptureFile();
  lib.settingsChanged = false;

  // Every TradInit starts from the defaults so a removed registry value takes effect.
  lib.switches = TranslatorSwitches{};
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
