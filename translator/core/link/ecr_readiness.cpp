#include "link/ecr_readiness.h"

#include <array>

#include "language/message_tables.h"
#include "language/result_codes.h"
#include "link/frame_exchange.h"
#include "platform/platform.h"
#include "state/ecr_config.h"
#include "state/library_state.h"

namespace quadrel {
namespace {

constexpr int kAlmostReadyPolls = 11;
constexpr std::uint32_t kAlmostReadyPauseMs = 20;
constexpr std::uint32_t kBusyPauseMs = 100;
constexpr std::size_t kStatusRecordSize = 64;  // room beyond the flag byte the host may fill

enum class PollOutcome { Ready, StillBusy, HostError };

// Polls while the register says it is about to be ready; `hostError` is set on HostError.
PollOutcome PollWhileAlmostReady(int& hostError) {
  for (int poll = 0; poll < kAlmostReadyPolls; ++poll) {
    platform::SleepMilliseconds(kAlmostReadyPauseMs);
    int flags = 0;
    hostError = AskHostStatus(0, flags);
    if (hostError != 0) return PollOutcome::HostError;
    if (!(flags & HOST_STATUS_NOT_READY)) return PollOutcome::Ready;
    if (!(flags & HOST_STATUS_ALMOST_READY)) return PollOutcome::StillBusy;
  }
  return PollOutcome::StillBusy;
}

}  // namespace

bool HostHasStatus() {
  const HostInfoRecord* info = Library().host.info;
  return info && info->status;
}

int AskHostStatus(int mode, int& flags) {
  flags = 0;
  const HostInfoRecord* info = Library().host.info;
  if (!info || !info->status) return 0;
  std::array<std::uint8_t, kStatusRecordSize> record{};
  const int result = info->status(CurrentEcr(), mode, record.data());
  flags = record[0];
  return result;
}

int CheckEcrReady() {
  int flags = 0;
  int hostError = AskHostStatus(1, flags);
  if (hostError != 0) return HostLinkError(hostError);
  if (!(flags & HOST_STATUS_NOT_READY)) return 0;
  if (!(flags & HOST_STATUS_ALMOST_READY)) return kResultCriticalState;
  switch (PollWhileAlmostReady(hostError)) {
    case PollOutcome::Ready:
      return 0;
    case PollOutcome::HostError:
      return HostLinkError(hostError);
    case PollOutcome::StillBusy:
      break;
  }
  return kResultCriticalState;
}

int WaitEcrReady(int wait, std::uint32_t limitMs) {
  const std::uint32_t start = platform::TickCount();
  int flags = 0;
  int hostError = AskHostStatus(1, flags);
  if (hostError != 0) return HostLinkError(hostError);
  for (;;) {
    if (!(flags & HOST_STATUS_NOT_READY) || wait == 0) return 0;
    if (flags & HOST_STATUS_ALMOST_READY) {
      const PollOutcome outcome = PollWhileAlmostReady(hostError);
      if (outcome == PollOutcome::Ready) return 0;
      if (outcome == PollOutcome::HostError) return HostLinkError(hostError);
    }
    if (platform::TickCount() - start >= limitMs) return kResultCriticalState;

    platform::PumpThreadMessages();
    int abort = 0;
    platform::SleepMilliseconds(kBusyPauseMs);
    ReportProgress(CurrentEcr(), 0, 0, IntMsgTable().Row(kMsgWaitReady).c_str(), &abort);
    if (abort == 1) return kWaitEcrReadyStopped;

    hostError = AskHostStatus(1, flags);
    if (hostError != 0) return HostLinkError(hostError);
  }
}

}  // namespace quadrel
