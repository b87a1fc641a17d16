// The client's connection: the server's client slot, the logical port, and
// the watch for a client whose process died.
#include "com/tallis_interface_impl.h"

#include "no_throw.h"
#include "translator_gate.h"

namespace ravelin {
namespace {

constexpr UINT kClientWatchPeriodMs = 2000;

}  // namespace

void TTallisInterfaceImpl::DropVanishedClient() {
  // The probe is a call into the client; while it waits, messages (and this
  // timer) run again.
  static bool probing = false;
  TTallisInterfaceImpl* holder = connected_;
  if (probing || !holder || holder->Busy() || holder->queue_.Delivering()) return;
  probing = true;
  holder->AddRef();
  // While a call is inside the library the next round tries again.
  if (!holder->sink_.ClientAlive() && connected_ == holder && holder->Disconnect())
    CoDisconnectObject(static_cast<IDispatch*>(holder), 0);
  probing = false;
  holder->Release();
}

void TTallisInterfaceImpl::StartClientWatch() {
  if (!watchTimer_) watchTimer_ = SetTimer(nullptr, 0, kClientWatchPeriodMs, &WatchClient);
}

void CALLBACK TTallisInterfaceImpl::WatchClient(HWND, UINT, UINT_PTR, DWORD) {
  NoThrow("client watch", 0, [] {
    DropVanishedClient();
    if (connected_) connected_->AnswerOverdueQuestions();
    return 0;
  });
}

std::int32_t TTallisInterfaceImpl::OpenService(IDispatch* client) {
  if (Connected()) return lastResult_ = SOR_FAILED;
  int slot = port_.TakeClientSlot(this);
  if (slot < 0 && connected_ && connected_ != this) {
    // The holder's process may have died without Close: its object lives on
    // in this process until COM notices, if ever.
    DropVanishedClient();
    slot = port_.TakeClientSlot(this);
  }
  if (slot < 0) return lastResult_ = SOR_FAILED;

  // The event methods are checked before the register is woken up for nothing.
  sink_.Attach(client);
  if (!sink_.ResolveDispids()) {
    sink_.Detach();
    port_.FreeClientSlot(slot);
    return lastResult_ = SOR_FAILED;
  }

  // Held through the clean-up too: freeing the last slot closes the port.
  TTranslatorGate gate;
  const std::int32_t result = gate.Entered() ? port_.OpenLogicalPort(logicalPort_) : SOR_BUSY;
  if (result != SOR_OK) {
    port_.FreeClientSlot(slot);
    sink_.Detach();
    return lastResult_ = result;
  }
  slot_ = slot;
  connected_ = this;
  StartClientWatch();
  clientLost_ = false;
  wantsCommandComplete_ = false;
  queue_.TakeAll();
  queue_.SetFrozen(false);
  clientState_ = csIdle;
  return lastResult_ = SOR_OK;
}

std::int32_t TTallisInterfaceImpl::Close() {
  if (!Connected()) return lastResult_ = SOR_FAILED;
  // Refused inside an event handler too: the delivery in progress still needs
  // the queue, the sink and the port to send the client's reply.
  if (Busy() || queue_.Delivering() || !Disconnect()) return lastResult_ = SOR_BUSY;
  return lastResult_ = SOR_OK;
}

bool TTallisInterfaceImpl::Disconnect() {
  TTranslatorGate gate;
  if (!gate.Entered()) return false;
  const int slot = slot_;
  slot_ = -1;
  if (connected_ == this) connected_ = nullptr;
  // The register waits for answers to its questions; give it the ones it
  // gets when no client listens, while the port is still open.
  for (auto& record : queue_.TakeAll()) AnswerUnheard(*record);
  clientState_ = csIdle;
  port_.FreeClientSlot(slot);
  sink_.Detach();
  return true;
}

}  // namespace ravelin
