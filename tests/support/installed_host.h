// The translator in a known state with a test's host behind it: defaults of
// every option and switch, an empty queue, register 1 current and selected.
#pragma once

#include "exports/process_state.h"
#include "state/ecr_config.h"
#include "state/library_state.h"

namespace quadrel_test {

inline void InstallHost(TradEcrIOProc io, TradProgressProc progress, HostInfoRecord* info) {
  quadrel::ResetProcessState();
  quadrel::LibraryState& lib = quadrel::Library();
  lib.initialised = true;
  lib.host.hostIO = io;
  lib.host.progress = progress;
  lib.host.info = info;
  quadrel::SelectedEcr() = 1;
  quadrel::SetCurrentRecordSlot(1);
}

}  // namespace quadrel_test
