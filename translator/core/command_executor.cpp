#include "command_executor.h"

#include <cstdint>
#include <string>

#include "command_dispatch.h"
#include "command_fields.h"
#include "command_line.h"
#include "command_word.h"
#include "ecr_config.h"
#include "ecr_readiness.h"
#include "executor_state.h"
#include "field_parser.h"
#include "frame_exchange.h"
#include "key_batch.h"
#include "library_state.h"
#include "result_codes.h"
#include "transfer_state.h"

namespace quadrel {
namespace {

constexpr char kBatchRequest = '@';
constexpr int kFileTransferCommand = 30;

bool IsHostCommand(int command) {
  return command >= 77 && command <= 79;
}

bool FieldGiven(int slot) {
  return !CommandFields().value[slot].empty();
}

// The numeric value of field `slot` as the register checks read it: leading
// digits after an optional sign, 0 when there are none.
int FieldNumber(int slot) {
  const std::string& text = CommandFields().value[slot];
  std::size_t i = 0;
  const bool negative = i < text.size() && text[i] == '-';
  if (negative) ++i;
  int value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9' && value < 100000000; ++i)
    value = value * 10 + (text[i] - '0');
  return negative ? -value : value;
}

// Commands that run without a selected register and without the status checks.
bool RegisterChecksApply(int command) {
  switch (command) {
    case 5:
    case 48:
    case 49:
      return false;
    case 28:
      return !FieldGiven(7);
    case 22:
      return !FieldGiven(3);
    case 71:
    case 74:
    case 75:
    case 122: {
      const int mode = FieldNumber(1);
      return !(mode == 0 || mode == 6 || mode == 8);
    }
    default:
      return true;
  }
}

// 0 when the host's kind of device takes `command`, else 268.
int CheckDeviceType(int command) {
  const HostInfoRecord* info = Library().host.info;
  if (!info) return 0;
  const bool hostOnlyDevice = info->protocolType == 5 || info->protocolType == 6;
  return hostOnlyDevice == IsHostCommand(command) ? 0 : kResultInstructionNotSupported;
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

int Dispatch(int command, const std::string& line, std::size_t parameters) {
  ExecutorState& exec = Executor();
  exec.LastCommand = command;
  exec.StopOnRecordError = 0;
  if (command == kFileTransferCommand) Transfer().CommandText = line.substr(parameters);
  return FindCommandHandler(command)();
}

// Steps that need the register: selection, readiness, the status frame.
int CheckRegister(int command) {
  const LibraryState& lib = Library();
  if (SelectedEcr() == 0) return kResultNoEcrSelected;
  if (command == 51 || command == 52) return 0;

  if (HostHasStatus()) {
    if (lib.options.WaitReadyMode) {
      const int waited = WaitEcrReady(1);
      if (waited == kWaitEcrReadyStopped) return kResultCriticalState;
      if (waited != 0) return waited;
    } else if (const int ready = CheckEcrReady(); ready != 0) {
      return ready;
    }
  }

  const bool salesCommand = command == 10 || command == 11;
  if (salesCommand && (lib.switches.AlwayMaxSpeedFP || lib.options.SkipStatusForSales)) return 0;
  const std::uint8_t status = 'S';
  FrameBuffer().Load({&status, 1});
  int error = 0;
  if (!SendFrameBuffer(FRAME_PLAIN, error)) return error;
  if (command != 8 && command != 9 && lib.options.StopOnConfirm && (EcrStatusBytes().extra & 1))
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

  if (command >= 31 && command <= 42 && exec.ProgSessionState != 1) return kResultProgSessionNotOpen;
  const bool registerChecks = RegisterChecksApply(command);
  if (const int refused = CheckDeviceType(command); refused != 0) return refused;
  if (IsHostCommand(command) || !registerChecks) return Dispatch(command, line, parameters);
  if (Library().broadcastMode) {
    return command == kFileTransferCommand ? Dispatch(command, line, parameters) : kResultNoEcrSelected;
  }
  if (const int refused = CheckRegister(command); refused != 0) return refused;
  return Dispatch(command, line, parameters);
}

}  // namespace quadrel
