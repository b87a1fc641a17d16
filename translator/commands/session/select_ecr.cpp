#include "commands/session/select_ecr.h"

#include <algorithm>
#include <cstdint>
#include <string>

#include "commands/session/session_commands.h"
#include "config/ecr_config_read.h"
#include "interfaces/host_info.h"
#include "language/command_field_values.h"
#include "language/command_fields.h"
#include "link/frame_exchange.h"
#include "platform/platform.h"
#include "run/command_executor.h"
#include "state/ecr_config.h"
#include "state/executor_state.h"
#include "state/library_state.h"

namespace quadrel {
namespace {

enum SelectField : int { kFieldEcr = 1, kFieldDisconnectOnly = 2, kFieldKeepCache = 3, kFieldTimeOut = 4 };

// The two kinds of connection the host sets up on request.
struct ConnectionServices {
  int connect;
  int disconnect;
};
constexpr ConnectionServices kDialUp = {ECRIO_CONNECT, ECRIO_HANGUP};
constexpr ConnectionServices kNetwork = {ECRIO_CONNECT_TIMEOUT, ECRIO_DISCONNECT};

SelectPauseFunction selectPause = nullptr;

void PauseAfterConnect() {
  if (selectPause)
    selectPause(kAfterConnectPauseMs);
  else
    platform::SleepMilliseconds(kAfterConnectPauseMs);
}

// Leaves no register selected, and so no programming session: nothing is
// sent until the next successful selection.
void DropSelection() {
  EndProgSession();
  SelectedEcr() = 0;
  CurrentEcr() = 0;
  Library().broadcastMode = false;
  SetCurrentRecordSlot(0);
}

void Disconnect(const ConnectionServices& services) {
  std::int32_t status = 0;
  RequestHostService(services.disconnect, 0, nullptr, nullptr, nullptr, nullptr, &status);
}

// The status word of a failed connect, as a result. A stop by the user is
// not a success: the register is not connected.
int ConnectFailure(std::int32_t status) {
  switch (status) {
    case -2:
      return kResultConnectionTimeOut;
    case -3:
    case -4:
    case -5:
    case -6:
      return kResultModemError;
    default:  // 1, 2 and -1 (stopped by the user) and anything unknown
      return kResultNoEcrSelected;
  }
}

// Drops a selected register's connection, then connects to #1's target.
int Connect(const ConnectionServices& services, std::int32_t timeOutSeconds) {
  if (SelectedEcr() != 0) Disconnect(services);
  DropSelection();
  const std::string& target = CommandFields().value[kFieldEcr];
  std::int32_t status = 0;
  const int result = RequestHostService(
      services.connect, ProgressRelayArgument(), const_cast<char*>(target.c_str()),
      IntArgument(static_cast<std::intptr_t>(target.size())), nullptr, &timeOutSeconds, &status);
  return result == 0 ? 0 : ConnectFailure(status);
}

// #4 in seconds: 30 when not given or below 1, at most 180.
std::int32_t NetworkTimeOut() {
  int seconds = kConnectTimeOutDefault;
  if (!FieldInteger(kFieldTimeOut, seconds) || seconds < 1) seconds = kConnectTimeOutDefault;
  return std::min(seconds, kConnectTimeOutMax);
}

// The register number of a local selection, or -1 when it is not one.
int LocalEcrNumber() {
  int ecr = -1;
  if (!FieldInteger(kFieldEcr, ecr)) return -1;
  const bool broadcast = ecr == 0 && (Library().TradFlags & TRADF_MULTI_ECR);
  return (ecr >= 1 && ecr <= kMaxEcr) || broadcast ? ecr : -1;
}

}  // namespace

void SetSelectEcrPause(SelectPauseFunction pause) {
  selectPause = pause;
}

int CmdSelectEcr() {
  const int flags = Library().TradFlags;
  const ConnectionServices* connection = nullptr;
  if (flags & TRADF_CONNECT)
    connection = &kDialUp;
  else if (flags & TRADF_REMOTE)
    connection = &kNetwork;

  int ecr = 1;
  if (connection) {
    if (connection == &kNetwork && FieldIsFlag(kFieldDisconnectOnly)) {
      Disconnect(kNetwork);
      DropSelection();
      return 0;
    }
    const std::int32_t timeOut = connection == &kNetwork ? NetworkTimeOut() : 0;
    if (const int failed = Connect(*connection, timeOut); failed != 0) return failed;
  } else {
    ecr = LocalEcrNumber();
    if (ecr < 0) return kResultEcrNumberIllegal;
  }

  EndProgSession();
  Executor().StopOnRecordError = 1;
  if (connection) PauseAfterConnect();
  CurrentEcr() = ecr;

  if (ecr == 0) {
    Library().broadcastMode = true;
    SelectedEcr() = 0;
    SetCurrentRecordSlot(0);
    return 0;
  }
  Library().broadcastMode = false;
  const int read = ReadEcrConfig(FieldIsFlag(kFieldKeepCache) ? 0 : READ_CONFIG_FORCE);
  if (read != 0) {
    // A register whose configuration could not be read is not selected.
    if (connection) Disconnect(*connection);
    DropSelection();
    return read;
  }
  SetCurrentRecordSlot(ecr);
  SelectedEcr() = ecr;
  CurrentEcr() = ecr;
  if (EcrRecord(0).EcrNumber == 0) EcrRecord(0) = EcrRecord(ecr);
  return 0;
}

}  // namespace quadrel
