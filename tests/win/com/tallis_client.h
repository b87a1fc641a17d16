// A late-bound client of the automation server, as POS applications write
// one: methods called by name through IDispatch, and an event object of its
// own whose methods the server calls by name.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace tallis_test {

// A VARIANT that frees itself.
struct TVar {
  VARIANT v;
  TVar() { VariantInit(&v); }
  explicit TVar(long value) : TVar() { v.vt = VT_I4; v.lVal = value; }
  explicit TVar(const std::wstring& text) : TVar() {
    v.vt = VT_BSTR;
    v.bstrVal = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
  }
  static TVar Bool(bool value) {
    TVar b;
    b.v.vt = VT_BOOL;
    b.v.boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
    return b;
  }
  explicit TVar(IDispatch* dispatch) : TVar() {
    v.vt = VT_DISPATCH;
    v.pdispVal = dispatch;
    if (dispatch) dispatch->AddRef();
  }
  TVar(const TVar& other) : TVar() {
    VariantCopy(&v, const_cast<VARIANT*>(&other.v));
    byRef = other.byRef;
  }
  TVar& operator=(const TVar& other) {
    if (this != &other) {
      VariantCopy(&v, const_cast<VARIANT*>(&other.v));
      byRef = other.byRef;
    }
    return *this;
  }
  ~TVar() { VariantClear(&v); }
  // Passed as VT_BYREF|VT_VARIANT, as scripts pass variables: the callee
  // writes into it.
  bool byRef = false;
  static TVar Ref(TVar value) {
    value.byRef = true;
    return value;
  }
  long Long() const;
  std::wstring Text() const;
  double Double() const;
};

class TTallisClient {
 public:
  TTallisClient() = default;
  ~TTallisClient() { Reset(); }
  TTallisClient(const TTallisClient&) = delete;
  TTallisClient& operator=(const TTallisClient&) = delete;

  // CoCreateInstance of the local server by its ProgID.
  HRESULT Create();
  // Uses an object another thread made (a proxy unmarshalled here).
  void Adopt(IDispatch* object) {
    Reset();
    object_ = object;
  }
  void Reset();
  IDispatch* Object() const { return object_; }

  // Calls a method by name; arguments in declared order, by-reference ones
  // hold what the server wrote afterwards.
  HRESULT Call(const wchar_t* name, std::vector<TVar>& args, TVar* result = nullptr);
  HRESULT Call(const wchar_t* name, std::vector<TVar>&& args, TVar* result = nullptr) {
    return Call(name, args, result);
  }
  long CallLong(const wchar_t* name, std::vector<TVar> args = {});
  std::wstring CallText(const wchar_t* name, std::vector<TVar> args = {});

  long OpenService(IDispatch* events) { return CallLong(L"OpenService", {TVar(events)}); }
  long Close() { return CallLong(L"Close"); }
  long EcrCmd(const std::wstring& line, std::wstring& answer);
  long DirectIO(long command, long data, std::wstring& text);
  long Number(long index) { return CallLong(L"GetPropertyNumber", {TVar(index)}); }
  void SetNumber(long index, long value) { Call(L"SetPropertyNumber", {TVar(index), TVar(value)}); }

 private:
  IDispatch* object_ = nullptr;
};

// One call the server made on the client's event object.
struct TEventCall {
  std::wstring name;
  std::vector<TVar> args;  // by-reference arguments as they came in
  int depth = 0;           // 2 or more: fired inside another handler
};

// The client's event object. Names it does not know (or was told to leave
// out) are not found, as in a client that lacks them.
class TEventRecorder final : public IDispatch {
 public:
  using THandler = std::function<void(DISPPARAMS& params)>;
  explicit TEventRecorder(std::vector<std::wstring> omitted = {});
  // Refuses variant references with a type mismatch, as a compiled client
  // whose handlers declare typed by-reference parameters does.
  void AcceptTypedReferencesOnly() { typedOnly_ = true; }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&refs_); }
  ULONG STDMETHODCALLTYPE Release() override;
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID,
                                          DISPID* ids) override;
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*,
                                   EXCEPINFO*, UINT*) override;

  // Runs inside the named event method, before it returns to the server.
  void On(const std::wstring& name, THandler handler) { handlers_[name] = std::move(handler); }
  const std::vector<TEventCall>& Calls() const { return calls_; }
  std::vector<TEventCall> CallsOf(const std::wstring& name) const;
  void Clear() { calls_.clear(); }
  int MaxDepth() const { return maxDepth_; }

 private:
  LONG refs_ = 1;
  std::vector<std::wstring> names_;
  std::map<std::wstring, THandler> handlers_;
  std::vector<TEventCall> calls_;
  int depth_ = 0;
  int maxDepth_ = 0;
  bool typedOnly_ = false;
};

// Argument `index` (declared order) of an event call, by-reference ones
// followed to their value.
TVar EventArg(DISPPARAMS& params, unsigned index);
// Writes a by-reference event argument.
void SetEventRef(DISPPARAMS& params, unsigned index, const TVar& value);

// Lets incoming calls run until `done` or the time-out; false on time-out.
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 5000);
void PumpFor(DWORD ms);

}  // namespace tallis_test
