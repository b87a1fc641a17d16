#include "com/class_factory.h"

#include "com/server_module.h"
#include "com/tallis_codes.h"
#include "com/tallis_interface_impl.h"
#include "no_throw.h"

namespace ravelin {

HRESULT TClassFactory::QueryInterface(REFIID iid, void** object) {
  if (!object) return E_POINTER;
  if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IClassFactory)) {
    *object = static_cast<IClassFactory*>(this);
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

HRESULT TClassFactory::CreateInstance(IUnknown* outer, REFIID iid, void** object) {
  if (!object) return E_POINTER;
  *object = nullptr;
  if (outer) return CLASS_E_NOAGGREGATION;
  // Its constructor allocates too (the list of live objects).
  auto* instance = NoThrow("CreateInstance", static_cast<TTallisInterfaceImpl*>(nullptr),
                           [&] { return new TTallisInterfaceImpl(port_); });
  if (!instance) return E_OUTOFMEMORY;
  const HRESULT hr = instance->QueryInterface(iid, object);
  instance->Release();  // the creation reference; QueryInterface holds its own
  return hr;
}

HRESULT TClassFactory::LockServer(BOOL lock) {
  if (lock)
    LockServerModule();
  else
    UnlockServerModule();
  return S_OK;
}

DWORD RegisterClassObject(TClassFactory& factory, HRESULT& hr) {
  DWORD cookie = 0;
  hr = CoRegisterClassObject(kClsidTallisInterface, &factory, CLSCTX_LOCAL_SERVER,
                             REGCLS_MULTIPLEUSE, &cookie);
  return SUCCEEDED(hr) ? cookie : 0;
}

void RevokeClassObject(DWORD cookie) {
  if (cookie) CoRevokeClassObject(cookie);
}

}  // namespace ravelin
