// A time limit on the server's calls into clients. A client that is alive
// but does not serve its calls (a busy loop, a blocking dialog) would
// otherwise hold the program's one thread for ever: the register's questions
// would go unanswered and AutoRun would stop. Installed for the life of the
// message loop.
#pragma once

#include <windows.h>
#include <objidl.h>

namespace ravelin {

// How long a call into a client may take before it is given up.
inline constexpr DWORD kClientCallBoundMs = 5000;

class TClientCallBound final : public IMessageFilter {
 public:
  // Registers the filter for the calling thread's apartment.
  TClientCallBound();
  ~TClientCallBound();
  TClientCallBound(const TClientCallBound&) = delete;
  TClientCallBound& operator=(const TClientCallBound&) = delete;

  // IUnknown: the object lives on the stack of the program's run.
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  // IMessageFilter
  DWORD STDMETHODCALLTYPE HandleInComingCall(DWORD callType, HTASK caller, DWORD tickCount,
                                             LPINTERFACEINFO info) override;
  DWORD STDMETHODCALLTYPE RetryRejectedCall(HTASK callee, DWORD tickCount, DWORD rejectType) override;
  DWORD STDMETHODCALLTYPE MessagePending(HTASK callee, DWORD tickCount, DWORD pendingType) override;

 private:
  // COM asks the filter only when a message arrives during a call: a pulse
  // posted to the thread makes sure one does.
  static void CALLBACK Pulse(void* thread, BOOLEAN);

  IMessageFilter* previous_ = nullptr;
  HANDLE pulse_ = nullptr;
  DWORD thread_;
};

}  // namespace ravelin
