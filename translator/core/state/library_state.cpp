#include "state/library_state.h"

namespace quadrel {

LibraryState& Library() {
  static LibraryState state;
  return state;
}

namespace {
bool exportRunning = false;
}  // namespace

ExportEntry::ExportEntry() : entered_(!exportRunning) { exportRunning = true; }

ExportEntry::~ExportEntry() {
  if (entered_) exportRunning = false;
}

void ReportProgress(int ecr, int count, int percent, const char* text, int* abort) {
  if (Library().host.progress) Library().host.progress(ecr, count, percent, text, abort);
}

void HostTraceLine(int level, const char* text) {
  const HostInfoRecord* info = Library().host.info;
  if (info && info->trace) info->trace(level, 0, 0, text, 0, 0, 0, "");
}

}  // namespace quadrel
