#include "com/client_call_bound.h"

#include <cstdint>

namespace ravelin {
namespace {

constexpr DWORD kPulsePeriodMs = 250;

}  // namespace

TClientCallBound::TClientCallBound() : thread_(GetCurrentThreadId()) {
  CoRegisterMessageFilter(this, &previous_);
  CreateTimerQueueTimer(&pulse_, nullptr, &Pulse, reinterpret_cast<void*>(static_cast<std::uintptr_t>(thread_)),
                        kPulsePeriodMs, kPulsePeriodMs, WT_EXECUTEDEFAULT);
}

TClientCallBound::~TClientCallBound() {
  // Waits for a pulse that is running.
  if (pulse_) DeleteTimerQueueTimer(nullptr, pulse_, INVALID_HANDLE_VALUE);
  IMessageFilter* ours = nullptr;
  CoRegisterMessageFilter(previous_, &ours);
  if (previous_) previous_->Release();
}

void CALLBACK TClientCallBound::Pulse(void* thread, BOOLEAN) {
  PostThreadMessageW(static_cast<DWORD>(reinterpret_cast<std::uintptr_t>(thread)), WM_NULL, 0, 0);
}

HRESULT TClientCallBound::QueryInterface(REFIID iid, void** object) {
  if (!object) return E_POINTER;
  if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IMessageFilter)) {
    *object = static_cast<IMessageFilter*>(this);
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

DWORD TClientCallBound::HandleInComingCall(DWORD, HTASK, DWORD, LPINTERFACEINFO) { return SERVERCALL_ISHANDLED; }

// A client that refuses the call now is not asked again: the caller goes on
// as if the client had not answered.
DWORD TClientCallBound::RetryRejectedCall(HTASK, DWORD, DWORD) { return static_cast<DWORD>(-1); }

DWORD TClientCallBound::MessagePending(HTASK, DWORD tickCount, DWORD) {
  // `tickCount`: milliseconds since the call was made.
  return tickCount >= kClientCallBoundMs ? PENDINGMSG_CANCELCALL : PENDINGMSG_WAITDEFPROCESS;
}

}  // namespace ravelin
