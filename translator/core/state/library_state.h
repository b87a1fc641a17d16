// Process-wide state of the translator: options, registry switches and the
// flags of the library's life cycle. The library is called from one thread
// only and keeps everything in static storage, so plain globals serve.
#pragma once

#include "interfaces/host_info.h"
#include "interfaces/translator_exports.h"

namespace quadrel {

// The version number the translator reports (start-up trace, configuration item).
constexpr int kTranslatorVersion = 3000003;

// TradFlags bits.
constexpr int TRADF_MULTI_ECR = 0x01;
constexpr int TRADF_CONNECT = 0x02;
constexpr int TRADF_REMOTE = 0x10;
constexpr int TRADF_ECHO_LINES = 0x80;

// Options: set at attach, changed by the option exports and command 48, kept
// across TradClose/TradInit.
struct TranslatorOptions {
  char QuoteChar = '\'';
  char SeparatorChar = ',';
  char DateSeparator = '/';
  char TimeSeparator = ':';
  int OutEditOptions = 0;
  int EnableTradDC = 0;
  int DataCaptureFormat = 1;
  int StopOnConfirm = 0;
  int WaitReadyMode = 0;
  int SkipStatusForSales = 0;
  int StopBatchOnError = 0;
};

// Switches read from the registry at every TradInit.
struct TranslatorSwitches {
  bool BufferFlush = false;
  bool FixDepDescLen = false;
  bool AlwayMaxSpeedFP = true;
  bool AutoSlaveOnBatch = true;
  bool RetryOn8XXX = true;
  bool RetryOn16XXX = false;
  int CoverOpenPaperEmptyMode = 2;
  bool SendZAE = false;
};

// Callbacks and what the host told us about itself.
struct HostLink {
  TradProgressProc progress = nullptr;
  TradEcrIOProc hostIO = nullptr;
  HostInfoRecord* info = nullptr;  // null when the host-info request failed
};

struct LibraryState {
  TranslatorOptions options;
  TranslatorSwitches switches;
  HostLink host;
  int TradFlags = 0;
  bool initialised = false;
  bool batchEcho = false;
  bool broadcastMode = false;
  bool settingsChanged = false;
  bool model6Mode = false;  // the configuration read met a model '6' register with function 105
  bool progFunctionKeyed = false;  // command 1 keyed in the programming function number
};

LibraryState& Library();

// Held while an export that talks to the register runs. The translator pumps
// window messages while it waits, so a host's window procedure could call in
// again; such a call is refused instead of interleaving two exchanges.
class ExportEntry {
 public:
  ExportEntry();
  ~ExportEntry();
  ExportEntry(const ExportEntry&) = delete;
  ExportEntry& operator=(const ExportEntry&) = delete;
  bool Entered() const { return entered_; }

 private:
  bool entered_;
};

// Shorthands for the options every parser and writer reads.
inline char QuoteChar() { return Library().options.QuoteChar; }
inline char SeparatorChar() { return Library().options.SeparatorChar; }

// Calls the progress callback when the host gave one; a null callback is never called.
void ReportProgress(int ecr, int count, int percent, const char* text, int* abort);

// Writes a trace line through the host's trace function when there is one.
void HostTraceLine(int level, const char* text);

}  // namespace quadrel
