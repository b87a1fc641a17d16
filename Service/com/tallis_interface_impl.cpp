// The automation object's life and its IUnknown and IDispatch: type
// information, names, Invoke and each method's arguments.
#include "com/tallis_interface_impl.h"

#include <new>

#include "com/bstr_text.h"
#include "com/server_module.h"

namespace ravelin {

TTallisInterfaceImpl::TTallisInterfaceImpl(IPortSession& port)
    : port_(port), queue_([this](TClientEvent& record) { FireRecord(record); }) {
  live_.push_back(this);
  LockServerModule();
}

TTallisInterfaceImpl::~TTallisInterfaceImpl() {
  // A client that never called Close (or whose process died) must not leave
  // the slot taken and the port open. Nobody else can hold the gate here: only
  // the connected object's own calls and AutoRun (never beside a client) take it.
  if (Connected()) Disconnect();
  std::erase(live_, this);
  UnlockServerModule();
}

void TTallisInterfaceImpl::DisconnectAll() {
  if (watchTimer_) KillTimer(nullptr, watchTimer_);
  watchTimer_ = 0;
  // Cutting COM's references deletes objects: walk a copy.
  for (TTallisInterfaceImpl* object : std::vector(live_)) {
    object->AddRef();
    if (object->Connected()) object->Disconnect();
    CoDisconnectObject(static_cast<IDispatch*>(object), 0);
    object->Release();
  }
}

// ---- IUnknown / IDispatch ----

HRESULT TTallisInterfaceImpl::QueryInterface(REFIID iid, void** object) {
  if (!object) return E_POINTER;
  if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch) ||
      IsEqualIID(iid, kDiidTallisInterface)) {
    *object = static_cast<IDispatch*>(this);
    AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

ULONG TTallisInterfaceImpl::AddRef() { return InterlockedIncrement(&refCount_); }

ULONG TTallisInterfaceImpl::Release() {
  const LONG count = InterlockedDecrement(&refCount_);
  if (count == 0) delete this;
  return static_cast<ULONG>(count);
}

HRESULT TTallisInterfaceImpl::GetTypeInfoCount(UINT* count) {
  if (!count) return E_POINTER;
  *count = TallisTypeInfo() ? 1 : 0;
  return S_OK;
}

HRESULT TTallisInterfaceImpl::GetTypeInfo(UINT index, LCID, ITypeInfo** info) {
  if (!info) return E_POINTER;
  *info = nullptr;
  if (index != 0) return DISP_E_BADINDEX;
  ITypeInfo* typeInfo = TallisTypeInfo();
  if (!typeInfo) return TYPE_E_CANTLOADLIBRARY;
  typeInfo->AddRef();
  *info = typeInfo;
  return S_OK;
}

HRESULT TTallisInterfaceImpl::GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID,
                                            DISPID* ids) {
  if (!IsEqualIID(iid, IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
  ITypeInfo* typeInfo = TallisTypeInfo();
  if (!typeInfo) return TYPE_E_CANTLOADLIBRARY;
  return DispGetIDsOfNames(typeInfo, names, count, ids);
}

HRESULT TTallisInterfaceImpl::Invoke(DISPID id, REFIID iid, LCID, WORD flags,
                                     DISPPARAMS* params, VARIANT* result, EXCEPINFO*,
                                     UINT* argErr) {
  if (!IsEqualIID(iid, IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
  if (!(flags & (DISPATCH_METHOD | DISPATCH_PROPERTYGET))) return DISP_E_MEMBERNOTFOUND;
  if (!params) return E_INVALIDARG;
  // The client may release its last reference from inside an event handler
  // that this call delivers; the object stays until the call is over.
  AddRef();
  HRESULT hr;
  try {
    hr = InvokeMethod(id, TDispArgs(params, argErr), result);
  } catch (const std::bad_alloc&) {
    hr = E_OUTOFMEMORY;
  } catch (...) {
    hr = E_UNEXPECTED;
  }
  Release();
  return hr;
}

HRESULT TTallisInterfaceImpl::InvokeMethod(DISPID id, const TDispArgs& args, VARIANT* result) {
  HRESULT hr = S_OK;
  std::int32_t number = 0;
  std::int32_t value = 0;
  switch (id) {
    case didOpenService: {
      IDispatch* client = nullptr;
      if (FAILED(hr = args.Expect(1)) || FAILED(hr = args.Dispatch(0, client))) return hr;
      const std::int32_t code = OpenService(client);
      if (client) client->Release();
      ReturnLong(result, code);
      return S_OK;
    }
    case didClose:
      if (FAILED(hr = args.Expect(0))) return hr;
      ReturnLong(result, Close());
      return S_OK;
    case didCOFreezeEvents: {
      bool freeze = false;
      if (FAILED(hr = args.Expect(1)) || FAILED(hr = args.Bool(0, freeze))) return hr;
      ReturnLong(result, COFreezeEvents(freeze));
      return S_OK;
    }
    case didGetPropertyNumber:
      if (FAILED(hr = args.Expect(1)) || FAILED(hr = args.Long(0, number))) return hr;
      ReturnLong(result, GetPropertyNumber(number));
      return S_OK;
    case didSetPropertyNumber:
      if (FAILED(hr = args.Expect(2)) || FAILED(hr = args.Long(0, number)) ||
          FAILED(hr = args.Long(1, value)))
        return hr;
      SetPropertyNumber(number, value);
      return S_OK;
    case didGetPropertyString:
      if (FAILED(hr = args.Expect(1)) || FAILED(hr = args.Long(0, number))) return hr;
      ReturnText(result, AnsiToBstr(GetPropertyString(number)));
      return S_OK;
    case didSetPropertyString: {
      TBstr text;
      if (FAILED(hr = args.Expect(2)) || FAILED(hr = args.Long(0, number)) ||
          FAILED(hr = args.Text(1, *text.Address())))
        return hr;
      SetPropertyString(number, BstrLowBytes(text.Get()));
      return S_OK;
    }
    case didDirectIO: {
      TBstr text;
      if (FAILED(hr = args.Expect(3)) || FAILED(hr = args.Long(0, number)) ||
          FAILED(hr = args.Long(1, value)) || FAILED(hr = args.Text(2, *text.Address())))
        return hr;
      std::string bytes = BstrLowBytes(text.Get());
      const std::int32_t code = DirectIO(number, value, bytes);
      if (code != SOR_BUSY && code != SOR_NO_PORT && code != SOR_LINE_TOO_LONG)
        args.SetText(2, BytesToBstr(bytes));
      ReturnLong(result, code);
      return S_OK;
    }
    case didEcrStatus:
      if (FAILED(hr = args.Expect(1)) || FAILED(hr = args.Long(0, number))) return hr;
      ReturnLong(result, EcrStatus(number));
      return S_OK;
    case didEcrStatusEx:
      // Not provided by the protocol libraries: always "not available".
      if (FAILED(hr = args.Expect(2)) || FAILED(hr = args.Long(0, number))) return hr;
      ReturnLong(result, SOR_BAD_INDEX);
      return S_OK;
    case didEcrCmd: {
      TBstr line;
      if (FAILED(hr = args.Expect(2)) || FAILED(hr = args.Text(0, *line.Address()))) return hr;
      std::string answer;
      const std::int32_t code = EcrCmd(BstrToAnsi(line.Get()), answer);
      args.SetText(1, AnsiToBstr(answer));
      ReturnLong(result, code);
      return S_OK;
    }
    case didEcrConfVal:
      if (FAILED(hr = args.Expect(1)) || FAILED(hr = args.Long(0, number))) return hr;
      ReturnLong(result, EcrConfVal(number));
      return S_OK;
    case didEcrConfStr:
      if (FAILED(hr = args.Expect(1)) || FAILED(hr = args.Long(0, number))) return hr;
      ReturnText(result, AnsiToBstr(EcrConfStr(number)));
      return S_OK;
    default:
      return DISP_E_MEMBERNOTFOUND;
  }
}

}  // namespace ravelin
