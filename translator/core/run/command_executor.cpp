#include "run/command_executor.h"

#include <cstdint>
#include <string>

#include "language/command_fields.h"
#include "language/command_line.h"
#include "language/command_word.h"
#include "language/field_parser.h"
#include "language/result_codes.h"
#include "link/ecr_readiness.h"
#include "link/frame_exchange.h"
#include "link/key_batch.h"
#include "run/command_rows.h"
#include "state/ecr_config.h"
#include "state/executor_state.h"
#include "state/library_state.h"
#include "state/transfer_state.h"

namespace quadrel {
namespace {

constexpr char kBatchRequest = '@';

// Whether this call needs a selected register and its status checks.
bool RegisterChecksApply(const CommandRow& row) {
  if (row.Has(kCmdNoRegister)) return false;
  return row.needsRegister ? row.needsRegister() : true;
}

// 0 when the host's kind of device takes `command`, else 268.
int CheckDeviceType(const CommandRow& row) {
  const HostInfoRecord* info = Library().host.info;
  if (!info) return 0;
  const bool hostOnlyDevice = info->protocolType == 5 || info->protocolType == 6;
  return hostOnlyDevice == row.Has(kCmdHostOnly) ? 0 : kResultInstructionNotSupported;
}

int ReadBatchRequest(const std::string& line) {
  ExecutorState& exec = Executor();
  if (exec.InBatch) return kResultInvalidBatchLine;
  exec.BatchFileName.clear();
  exec.ResultFileName.clear();
  exec.TempResultFileName.clear();
  exec.ThirdName.clear();
  std::size_t position = 1;
  SkipBlanks(line, position);
  bool quoted = false;
  if (NextField(line, position, exec.BatchFileName, quoted) != kNextFieldOk || exec.BatchFileName.empty()) {
    exec.BatchFileName.clear();
    return kResultInvalidBatchLine;
  }
  if (NextField(line, position, exec.ResultFileName, quoted) != kNextFieldOk) exec.ResultFileName.clear();
  if (NextField(line, position, exec.ThirdName, quoted) != kNextFieldOk) exec.ThirdName.clear();
  if (!exec.ResultFileName.empty()) exec.TempResultFileName = exec.ResultFileName + ".tmp";
  return kResultBatchRequest;
}

int Dispatch(const CommandRow& row, int command, const std::string& line, std::size_t parameters) {
  ExecutorState& exec = Executor();
  exec.LastCommand = command;
  exec.StopOnRecordError = 0;
  exec.CommitRecord = -1;
  if (row.Has(kCmdKeepsLineText)) Transfer().CommandText = line.substr(parameters);
  return row.handler();
}

// Steps that need the register: selection, readiness, the status frame.
int CheckRegister(const CommandRow& row) {
  const LibraryState& lib = Library();
  if (SelectedEcr() == 0) return kResultNoEcrSelected;
  if (row.Has(kCmdNoStatusFrame)) return 0;

  if (HostHasStatus()) {
    if (lib.options.WaitReadyMode) {
      const int waited = WaitEcrReady(1);
      if (waited == kWaitEcrReadyStopped) return kResultCriticalState;
      if (waited != 0) return waited;
    } else if (const int ready = CheckEcrReady(); ready != 0) {
      return ready;
    }
  }

  if (row.Has(kCmdSales) && (lib.switches.AlwayMaxSpeedFP || lib.options.SkipStatusForSales)) return 0;
  const std::uint8_t status = 'S';
  FrameBuffer().Load({&status, 1});
  int error = 0;
  if (!SendFrameBuffer(FRAME_PLAIN, error)) return error;
  if (!row.Has(kCmdIgnoresConfirm) && lib.options.StopOnConfirm && (EcrStatusBytes().extra & 1))
    return kResultEcrAsksConfirmation;
  return 0;
}

}  // namespace

int TradExecCommand(std::string_view rawLine) {
  ExecutorState& exec = Executor();
  exec.LastCommand = 0;
  if (rawLine.size() > kMaxCommandLineLength) return kResultSourceLineTooLong;
  if (!Library().initialised) return kResultNotInitialised;
  KeyBatch().Clear();

  std::string line;
  if (NormalizeLine(line, rawLine) == 0) return kResultEmptyLine;
  if (line[0] == kBatchRequest) return ReadBatchRequest(line);

  std::size_t position = 0;
  int command = 0;
  if (const int r = FindCommandWord(line, position, command); r != kCommandWordFound) return kClassSyntax | r;
  const std::size_t parameters = position;
  if (const int r = FillCommandFields(line, command, position); r != 0) return kClassSyntax | r;

  const CommandRow& row = FindCommandRow(command);
  if (row.Has(kCmdProgSession) && exec.ProgSessionState != 1) return kResultProgSessionNotOpen;
  const bool registerChecks = RegisterChecksApply(row);
  if (const int refused = CheckDeviceType(row); refused != 0) return refused;
  if (row.Has(kCmdHostOnly) || !registerChecks) return Dispatch(row, command, line, parameters);
  if (Library().broadcastMode) {
    return row.Has(kCmdBroadcast) ? Dispatch(row, command, line, parameters) : kResultNoEcrSelected;
  }
  if (const int refused = CheckRegister(row); refused != 0) return refused;
  return Dispatch(row, command, line, parameters);
}

}  // namespace quadrel
