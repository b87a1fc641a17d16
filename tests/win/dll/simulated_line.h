// A host's line served by the register simulator in this process: the I/O
// procedure handed to TradInit, answering frames as a protocol library would
// and giving the host-info record the test filled.
#pragma once

#include "dll/quadrel_exports.h"
#include "interfaces/host_info.h"
#include "simulator.h"

struct SimulatedLine {
  static inline ecrsim::Simulator* simulator = nullptr;
  static inline HostInfoRecord hostInfo{};

  static int __stdcall IO(int ecrOrRequest, int mode, void* frame, void* length, void* answer,
                          void* answerLength, void* detail);
  // TradInit of the loaded library on this line, with definitions `ini` and no progress shown.
  static int Init(QuadrelExports& quadrel, const char* ini);
};
