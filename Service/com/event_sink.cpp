#include "com/event_sink.h"

#include "com/bstr_text.h"

namespace ravelin {
namespace {

constexpr const wchar_t* kMethodNames[] = {
    L"SODataX",       L"SODataY",           L"SOFileExtEnq", L"SOFileExtUpd",  L"SOInteract",
    L"SOProgressCtrl", L"SOCommandComplete", L"SOProcessID",  L"SOStatusChange",
};
constexpr LCID kLookupLcid = 0x800;
// {A6EF9860-C720-11D0-9337-00A0C90DCAA9}; not in mingw's libuuid.
constexpr IID kIidDispatchEx = {0xA6EF9860, 0xC720, 0x11D0, {0x93, 0x37, 0x00, 0xA0, 0xC9, 0x0D, 0xCA, 0xA9}};

VARIANT I4(std::int32_t value) {
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_I4;
  v.lVal = value;
  return v;
}

VARIANT R8(double value) {
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_R8;
  v.dblVal = value;
  return v;
}

VARIANT Text(const std::string& value) {
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_BSTR;
  v.bstrVal = AnsiToBstr(value);
  return v;
}

VARIANT ByRef(VARIANT* target) {
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_BYREF | VT_VARIANT;
  v.pvarVal = target;
  return v;
}

// Script clients write to VARIANT references only; typed clients (a class
// compiled with "ByRef x As Long") refuse them with a type mismatch and get
// references to the plain type instead.
VARIANT TypedRef(VARIANT* target) {
  VARIANT v;
  VariantInit(&v);
  v.vt = static_cast<VARTYPE>(VT_BYREF | target->vt);
  if (target->vt == VT_BSTR)
    v.pbstrVal = &target->bstrVal;
  else
    v.plVal = &target->lVal;
  return v;
}

std::int32_t ReadI4(VARIANT& v, std::int32_t fallback) {
  VARIANT converted;
  VariantInit(&converted);
  if (FAILED(VariantChangeType(&converted, &v, 0, VT_I4))) return fallback;
  return converted.lVal;
}

std::string ReadText(VARIANT& v) {
  VARIANT converted;
  VariantInit(&converted);
  if (FAILED(VariantChangeType(&converted, &v, 0, VT_BSTR))) return {};
  std::string text = BstrToAnsi(converted.bstrVal);
  VariantClear(&converted);
  return text;
}

void ClearAll(VARIANT* args, unsigned count) {
  for (unsigned i = 0; i < count; ++i) VariantClear(&args[i]);
}

}  // namespace

void TEventSink::Attach(IDispatch* dispatch, bool noReference) {
  Detach();
  dispatch_ = dispatch;
  noReference_ = noReference;
  dispids_.fill(DISPID_UNKNOWN);
  if (dispatch_ && !noReference_) dispatch_->AddRef();
  if (dispatch_ &&
      FAILED(dispatch_->QueryInterface(kIidDispatchEx, reinterpret_cast<void**>(&dispatchEx_))))
    dispatchEx_ = nullptr;
}

void TEventSink::Detach() {
  if (dispatchEx_) dispatchEx_->Release();
  dispatchEx_ = nullptr;
  if (dispatch_ && !noReference_) dispatch_->Release();
  dispatch_ = nullptr;
  dispids_.fill(DISPID_UNKNOWN);
}

bool TEventSink::ResolveDispids() {
  dispids_.fill(DISPID_UNKNOWN);
  if (!dispatch_) return false;
  for (int i = 0; i < smCount; ++i) {
    LPOLESTR name = const_cast<LPOLESTR>(kMethodNames[i]);
    DISPID id = DISPID_UNKNOWN;
    HRESULT hr = dispatch_->GetIDsOfNames(IID_NULL, &name, 1, kLookupLcid, &id);
    if (FAILED(hr) && dispatchEx_) {
      BSTR text = SysAllocString(name);
      hr = dispatchEx_->GetDispID(text, fdexNameCaseInsensitive, &id);
      SysFreeString(text);
    }
    if (SUCCEEDED(hr)) dispids_[i] = id;
  }
  for (int i = 0; i < smStatusChange; ++i)
    if (dispids_[i] == DISPID_UNKNOWN) return false;
  return true;
}

void TEventSink::Invoke(TSinkMethod method, VARIANT* args, unsigned count) {
  if (!dispatch_ || dispids_[method] == DISPID_UNKNOWN) return;
  VARIANT reversed[6];
  for (unsigned i = 0; i < count; ++i) reversed[count - 1 - i] = args[i];
  DISPPARAMS params{reversed, nullptr, count, 0};
  lastInvokeResult_ = dispatch_->Invoke(dispids_[method], IID_NULL, LOCALE_USER_DEFAULT,
                                        DISPATCH_METHOD, &params, nullptr, nullptr, nullptr);
  if (lastInvokeResult_ == E_NOTIMPL && dispatchEx_)
    lastInvokeResult_ = dispatchEx_->InvokeEx(dispids_[method], LOCALE_USER_DEFAULT, DISPATCH_METHOD,
                                              &params, nullptr, nullptr, nullptr);
}

void TEventSink::FireDataX(const TClientEvent& record) {
  VARIANT args[] = {I4(record.ecr), Text(record.text)};
  Invoke(smDataX, args, 2);
  ClearAll(args, 2);
}

void TEventSink::FireDataY(const TClientEvent& record) {
  VARIANT args[] = {I4(record.ecr), Text(record.text)};
  Invoke(smDataY, args, 2);
  ClearAll(args, 2);
}

void TEventSink::FireFileExtEnq(TClientEvent& record) {
  VARIANT replyCode = I4(record.replyCode);
  VARIANT replyText = Text(record.replyText);
  VARIANT args[] = {I4(record.ecr), I4(record.number), Text(record.text), R8(record.value1),
                    ByRef(&replyCode), ByRef(&replyText)};
  Invoke(smFileExtEnq, args, 6);
  if (lastInvokeResult_ == DISP_E_TYPEMISMATCH) {
    args[4] = TypedRef(&replyCode);
    args[5] = TypedRef(&replyText);
    Invoke(smFileExtEnq, args, 6);
  }
  record.replyCode = ReadI4(replyCode, record.replyCode);
  record.replyText = ReadText(replyText);
  VariantClear(&replyCode);
  VariantClear(&replyText);
  ClearAll(args, 4);  // the two references own nothing
}

void TEventSink::FireFileExtUpd(const TClientEvent& record) {
  VARIANT args[] = {I4(record.ecr), I4(record.number), Text(record.text), R8(record.value1),
                    R8(record.value2)};
  Invoke(smFileExtUpd, args, 5);
  ClearAll(args, 5);
}

void TEventSink::FireInteract(TClientEvent& record) {
  VARIANT text = Text(record.text);
  VARIANT args[] = {I4(record.ecr), ByRef(&text)};
  Invoke(smInteract, args, 2);
  if (lastInvokeResult_ == DISP_E_TYPEMISMATCH) {
    args[1] = TypedRef(&text);
    Invoke(smInteract, args, 2);
  }
  record.text = ReadText(text);
  VariantClear(&text);
}

void TEventSink::FireProgressCtrl(int ecr, int counter, int percent, const char* text, int* abort) {
  VARIANT abortValue = I4(abort ? *abort : 0);
  VARIANT args[] = {I4(ecr), I4(counter), I4(percent), Text(text ? text : ""),
                    ByRef(&abortValue)};
  Invoke(smProgressCtrl, args, 5);
  if (lastInvokeResult_ == DISP_E_TYPEMISMATCH) {
    args[4] = TypedRef(&abortValue);
    Invoke(smProgressCtrl, args, 5);
  }
  if (abort) *abort = ReadI4(abortValue, *abort);
  ClearAll(args, 4);
}

void TEventSink::FireCommandComplete(const TClientEvent& record) {
  VARIANT args[] = {I4(0), Text(record.text), I4(record.number)};
  Invoke(smCommandComplete, args, 3);
  ClearAll(args, 3);
}

void TEventSink::FireStatusChange(const TClientEvent& record) {
  VARIANT args[] = {I4(record.ecr), I4(0), I4(record.number), Text(" ")};
  Invoke(smStatusChange, args, 4);
  ClearAll(args, 4);
}

bool TEventSink::ClientGone(HRESULT hr) {
  // The RPC failures of a peer process that ended, as HRESULTs.
  constexpr HRESULT kServerUnavailable = static_cast<HRESULT>(0x800706BAL);
  constexpr HRESULT kCallFailed = static_cast<HRESULT>(0x800706BEL);
  constexpr HRESULT kCallFailedDne = static_cast<HRESULT>(0x800706BFL);
  if (hr == kServerUnavailable || hr == kCallFailed || hr == kCallFailedDne) return true;
  switch (hr) {
    case RPC_E_DISCONNECTED:
    case RPC_E_SERVER_DIED:
    case RPC_E_SERVER_DIED_DNE:
    case CO_E_OBJNOTCONNECTED:
      return true;
    default:
      return false;
  }
}

bool TEventSink::ClientAlive() {
  if (!dispatch_) return false;
  UINT count = 0;
  return !ClientGone(dispatch_->GetTypeInfoCount(&count));
}

}  // namespace ravelin
