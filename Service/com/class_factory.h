// The class object of TallisInterface: one TTallisInterfaceImpl per creation
// request, all in this one process (registered for multiple use).
#pragma once

#include <windows.h>
#include <unknwn.h>

#include "port_session.h"

namespace ravelin {

class TClassFactory final : public IClassFactory {
 public:
  explicit TClassFactory(IPortSession& port) : port_(port) {}

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
  // The class object lives as long as the program: it holds no count of its own.
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** object) override;
  HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override;

 private:
  IPortSession& port_;
};

// Registers the class object for local-server activation; returns the cookie
// for RevokeClassObject (0 on failure, with the HRESULT in `hr`).
DWORD RegisterClassObject(TClassFactory& factory, HRESULT& hr);
void RevokeClassObject(DWORD cookie);

}  // namespace ravelin
