#include "com/tallis_client.h"

#include <algorithm>

namespace tallis_test {

namespace {

TVar Converted(const VARIANT& source, VARTYPE type) {
  TVar plain;
  VariantCopyInd(&plain.v, const_cast<VARIANT*>(&source));
  TVar converted;
  VariantChangeType(&converted.v, &plain.v, 0, type);
  return converted;
}

constexpr const wchar_t* kEventNames[] = {
    L"SODataX",       L"SODataY",           L"SOFileExtEnq", L"SOFileExtUpd",  L"SOInteract",
    L"SOProgressCtrl", L"SOCommandComplete", L"SOProcessID",  L"SOStatusChange",
};

}  // namespace

long TVar::Long() const { return Converted(v, VT_I4).v.lVal; }

double TVar::Double() const { return Converted(v, VT_R8).v.dblVal; }

std::wstring TVar::Text() const {
  TVar text = Converted(v, VT_BSTR);
  if (text.v.vt != VT_BSTR || !text.v.bstrVal) return {};
  return std::wstring(text.v.bstrVal, SysStringLen(text.v.bstrVal));
}

HRESULT TTallisClient::Create() {
  Reset();
  CLSID clsid;
  HRESULT hr = CLSIDFromProgID(L"Ravelin.TallisInterface", &clsid);
  if (FAILED(hr)) return hr;
  return CoCreateInstance(clsid, nullptr, CLSCTX_LOCAL_SERVER, IID_IDispatch,
                          reinterpret_cast<void**>(&object_));
}

void TTallisClient::Reset() {
  if (object_) object_->Release();
  object_ = nullptr;
}

HRESULT TTallisClient::Call(const wchar_t* name, std::vector<TVar>& args, TVar* result) {
  if (!object_) return E_POINTER;
  DISPID id;
  LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
  HRESULT hr = object_->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
  if (FAILED(hr)) return hr;
  std::vector<VARIANT> passed(args.size());
  for (std::size_t i = 0; i < args.size(); ++i) {
    VARIANT& slot = passed[args.size() - 1 - i];
    if (args[i].byRef) {
      VariantInit(&slot);
      slot.vt = VT_BYREF | VT_VARIANT;
      slot.pvarVal = &args[i].v;
    } else {
      slot = args[i].v;  // borrowed
    }
  }
  DISPPARAMS params{passed.data(), nullptr, static_cast<UINT>(passed.size()), 0};
  TVar ignored;
  return object_->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params,
                         result ? &result->v : &ignored.v, nullptr, nullptr);
}

long TTallisClient::CallLong(const wchar_t* name, std::vector<TVar> args) {
  TVar result;
  if (FAILED(Call(name, args, &result))) return -12345;
  return result.Long();
}

std::wstring TTallisClient::CallText(const wchar_t* name, std::vector<TVar> args) {
  TVar result;
  if (FAILED(Call(name, args, &result))) return L"<call failed>";
  return result.Text();
}

long TTallisClient::EcrCmd(const std::wstring& line, std::wstring& answer) {
  std::vector<TVar> args{TVar(line), TVar::Ref(TVar(std::wstring()))};
  TVar result;
  if (FAILED(Call(L"EcrCmd", args, &result))) return -12345;
  answer = args[1].Text();
  return result.Long();
}

long TTallisClient::DirectIO(long command, long data, std::wstring& text) {
  std::vector<TVar> args{TVar(command), TVar::Ref(TVar(data)), TVar::Ref(TVar(text))};
  TVar result;
  if (FAILED(Call(L"DirectIO", args, &result))) return -12345;
  text = args[2].Text();
  return result.Long();
}

TEventRecorder::TEventRecorder(std::vector<std::wstring> omitted) {
  for (const wchar_t* name : kEventNames)
    if (std::find(omitted.begin(), omitted.end(), name) == omitted.end()) names_.push_back(name);
}

HRESULT TEventRecorder::QueryInterface(REFIID iid, void** object) {
  if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch)) {
    *object = static_cast<IDispatch*>(this);
    AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

ULONG TEventRecorder::Release() {
  const LONG count = InterlockedDecrement(&refs_);
  if (count == 0) delete this;
  return static_cast<ULONG>(count);
}

HRESULT TEventRecorder::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
  HRESULT hr = S_OK;
  for (UINT i = 0; i < count; ++i) {
    ids[i] = DISPID_UNKNOWN;
    for (std::size_t n = 0; n < names_.size(); ++n)
      if (_wcsicmp(names[i], names_[n].c_str()) == 0) ids[i] = static_cast<DISPID>(100 + n);
    if (ids[i] == DISPID_UNKNOWN) hr = DISP_E_UNKNOWNNAME;
  }
  return hr;
}

HRESULT TEventRecorder::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*,
                               EXCEPINFO*, UINT*) {
  const std::size_t index = static_cast<std::size_t>(id - 100);
  if (id < 100 || index >= names_.size()) return DISP_E_MEMBERNOTFOUND;
  const std::wstring& name = names_[index];
  if (typedOnly_)
    for (UINT i = 0; i < params->cArgs; ++i)
      if (params->rgvarg[i].vt == (VT_BYREF | VT_VARIANT)) return DISP_E_TYPEMISMATCH;
  TEventCall call;
  call.name = name;
  for (UINT i = 0; i < params->cArgs; ++i) call.args.push_back(EventArg(*params, i));
  call.depth = ++depth_;
  maxDepth_ = std::max(maxDepth_, depth_);
  calls_.push_back(call);
  auto handler = handlers_.find(name);
  if (handler != handlers_.end()) handler->second(*params);
  --depth_;
  return S_OK;
}

std::vector<TEventCall> TEventRecorder::CallsOf(const std::wstring& name) const {
  std::vector<TEventCall> found;
  for (const auto& call : calls_)
    if (call.name == name) found.push_back(call);
  return found;
}

TVar EventArg(DISPPARAMS& params, unsigned index) {
  TVar value;
  VariantCopyInd(&value.v, &params.rgvarg[params.cArgs - 1 - index]);
  return value;
}

void SetEventRef(DISPPARAMS& params, unsigned index, const TVar& value) {
  VARIANT& arg = params.rgvarg[params.cArgs - 1 - index];
  if (arg.vt == (VT_BYREF | VT_VARIANT)) {
    VariantCopy(arg.pvarVal, const_cast<VARIANT*>(&value.v));
  } else if (arg.vt == (VT_BYREF | VT_BSTR)) {
    SysFreeString(*arg.pbstrVal);
    *arg.pbstrVal = SysAllocString(value.Text().c_str());
  } else if (arg.vt == (VT_BYREF | VT_I4)) {
    *arg.plVal = value.Long();
  }
}

bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  while (!done()) {
    if (GetTickCount() - start > timeoutMs) return false;
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
  return true;
}

void PumpFor(DWORD ms) {
  const DWORD start = GetTickCount();
  PumpUntil([&] { return GetTickCount() - start >= ms; }, ms + 1000);
}

}  // namespace tallis_test
