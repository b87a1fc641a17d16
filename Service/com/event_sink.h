// The client's own dispatch object, handed to OpenService, seen as the nine
// event methods it must (or may) have. Methods are found by name and called
// with fixed argument lists; by-reference arguments are read back after the call.
#pragma once

#include <windows.h>
#include <oaidl.h>
#include <dispex.h>

#include <array>

#include "client_events.h"

namespace ravelin {

class TEventSink {
 public:
  TEventSink() = default;
  ~TEventSink() { Detach(); }
  TEventSink(const TEventSink&) = delete;
  TEventSink& operator=(const TEventSink&) = delete;

  void Attach(IDispatch* dispatch, bool noReference = false);
  void Detach();
  bool Attached() const { return dispatch_ != nullptr; }

  // Looks up the nine names; true when none of the eight required ones is missing.
  bool ResolveDispids();

  void FireDataX(const TClientEvent& record);
  void FireDataY(const TClientEvent& record);
  // Reads the client's reply code and reply text back into the record.
  void FireFileExtEnq(TClientEvent& record);
  void FireFileExtUpd(const TClientEvent& record);
  // The client's changes to the text become the record's text (the reply).
  void FireInteract(TClientEvent& record);
  void FireProgressCtrl(int ecr, int counter, int percent, const char* text, int* abort);
  void FireCommandComplete(const TClientEvent& record);
  void FireStatusChange(const TClientEvent& record);

  // True when a call to the client failed because its process is gone.
  static bool ClientGone(HRESULT hr);
  // Asks the client's object something harmless; false when its process is gone.
  bool ClientAlive();
  HRESULT LastInvokeResult() const { return lastInvokeResult_; }

 private:
  enum TSinkMethod {
    smDataX,
    smDataY,
    smFileExtEnq,
    smFileExtUpd,
    smInteract,
    smProgressCtrl,
    smCommandComplete,
    smProcessID,
    smStatusChange,
    smCount
  };
  // `args` in the client's declared order; reversed here for Invoke.
  void Invoke(TSinkMethod method, VARIANT* args, unsigned count);

  IDispatch* dispatch_ = nullptr;
  // Script objects (Wine's VBScript classes) answer names and calls only
  // through IDispatchEx; held alongside when the client's object has it.
  IDispatchEx* dispatchEx_ = nullptr;
  bool noReference_ = false;
  std::array<DISPID, smCount> dispids_{};
  HRESULT lastInvokeResult_ = S_OK;
};

}  // namespace ravelin
