#include "com/tallis_interface_impl.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <new>

#include "com/bstr_text.h"
#include "com/client_call_bound.h"
#include "com/server_module.h"
#include "no_throw.h"
#include "translator_gate.h"

namespace ravelin {
namespace {

constexpr char kBusyText[] = "Driver occupato";
constexpr char kRunningText[] = "Comando in esecuzione";
// The translator's own text for a line too long for it, so a client logs the
// same reason whichever buffer refused the line.
constexpr char kLineTooLongText[] = "ERROR 1/18 : SINTAX ERROR 18 : SOURCE LINE TOO LONG";
constexpr char kBadStringIndexText[] = "Pidx_Error";
constexpr std::size_t kSyncAnswerBytes = 1024;
constexpr std::size_t kAsyncAnswerBytes = 256;
constexpr std::size_t kCurrentDirBytes = 256;
// The answer the register gets to an interactivity nobody handled.
constexpr char kUnheardInteractReply[] = "B";
constexpr UINT kClientWatchPeriodMs = 2000;

}  // namespace

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

// ---- connection ----

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

void TTallisInterfaceImpl::AnswerUnheard(TClientEvent& record) {
  if (record.kind == ekFileExtEnq) {
    record.replyCode = kUnansweredReplyCode;
    record.replyText.clear();
    port_.Replies().ReplyFileExtEnq(record);
  } else if (record.kind == ekInteract) {
    record.text = kUnheardInteractReply;
    port_.Replies().ReplyInteract(record);
  }
}

void TTallisInterfaceImpl::AnswerOverdueQuestions() {
  // A queue that is not frozen delivers its questions, each call bounded.
  if (!queue_.Frozen()) return;
  const DWORD now = GetTickCount();
  const auto overdue = [now](const TClientEvent& record) {
    return IsRegisterQuestion(record) && now - record.queuedAt >= kClientCallBoundMs;
  };
  for (auto& record : queue_.TakeIf(overdue)) AnswerUnheard(*record);
}

std::int32_t TTallisInterfaceImpl::COFreezeEvents(bool freeze) {
  if (!Connected()) return lastResult_ = SOR_FAILED;
  AddRef();
  queue_.SetFrozen(freeze);
  lastResult_ = SOR_OK;
  AfterDelivery();
  Release();
  return SOR_OK;
}

// ---- events ----

void TTallisInterfaceImpl::EnqueueEvent(std::unique_ptr<TClientEvent> record) {
  if (!record) return;
  if (!Connected()) {
    AnswerUnheard(*record);
    return;
  }
  record->queuedAt = GetTickCount();
  AddRef();
  queue_.Enqueue(std::move(record));
  AfterDelivery();
  Release();
}

void TTallisInterfaceImpl::FireRecord(TClientEvent& record) {
  if (clientLost_ || !Connected()) {
    AnswerUnheard(record);
    return;
  }
  switch (record.kind) {
    case ekDataX:
      sink_.FireDataX(record);
      break;
    case ekDataY:
      sink_.FireDataY(record);
      break;
    case ekFileExtUpd:
      sink_.FireFileExtUpd(record);
      break;
    case ekStatusChange:
      sink_.FireStatusChange(record);
      break;
    case ekFileExtEnq:
      sink_.FireFileExtEnq(record);
      if (FAILED(sink_.LastInvokeResult())) record.replyCode = kUnansweredReplyCode;
      port_.Replies().ReplyFileExtEnq(record);
      break;
    case ekInteract:
      sink_.FireInteract(record);
      if (FAILED(sink_.LastInvokeResult())) record.text = kUnheardInteractReply;
      port_.Replies().ReplyInteract(record);
      break;
    case ekCommandComplete:
      sink_.FireCommandComplete(record);
      break;
    default:
      return;
  }
  if (TEventSink::ClientGone(sink_.LastInvokeResult())) clientLost_ = true;
}

void TTallisInterfaceImpl::AfterDelivery() {
  if (clientLost_ && Connected() && !Busy() && !queue_.Delivering()) Disconnect();
}

void TTallisInterfaceImpl::FireProgress(int ecr, int counter, int percent, const char* text,
                                        int* abort) {
  if (!Connected() || clientLost_ || queue_.Frozen()) return;
  sink_.FireProgressCtrl(ecr, counter, percent, text, abort);
  if (TEventSink::ClientGone(sink_.LastInvokeResult())) clientLost_ = true;
}

// ---- commands ----

std::int32_t TTallisInterfaceImpl::EcrCmd(const std::string& line, std::string& answer) {
  answer.clear();
  if (!Connected()) return lastResult_ = SOR_NO_PORT;
  if (Busy() || TTranslatorGate::Held()) {
    answer = kBusyText;
    return SOR_BUSY;
  }
  if (line.size() > kMaxCommandLine || line.find('\0') != std::string::npos) {
    answer = kLineTooLongText;
    return lastResult_ = SOR_LINE_TOO_LONG;
  }
  commandLine_ = line;
  clientState_ = csRunning;
  if (async_) {
    // Nothing would ever run the line or end the busy state.
    if (!port_.PostAsyncCommand(slot_)) {
      clientState_ = csIdle;
      return lastResult_ = SOR_FAILED;
    }
    answer = kRunningText;
    return SOR_OK;
  }
  std::array<char, kSyncAnswerBytes> buffer{};
  std::int32_t result;
  {
    TTranslatorGate gate;
    result = port_.EcrCmd(commandLine_.c_str(), buffer.data());
  }
  buffer.back() = '\0';
  answer = buffer.data();
  clientState_ = csIdle;
  lastResult_ = result;
  AfterDelivery();
  return result;
}

void TTallisInterfaceImpl::RunPendingCommand() {
  if (!Connected() || !Busy()) return;
  AddRef();
  std::array<char, kAsyncAnswerBytes> buffer{};
  std::int32_t result;
  {
    TTranslatorGate gate;
    if (gate.Entered()) {
      result = port_.EcrCmd(commandLine_.c_str(), buffer.data());
    } else {
      result = SOR_BUSY;
      std::strcpy(buffer.data(), kBusyText);
    }
  }
  buffer.back() = '\0';
  // Idle and the result known before the client hears of it, so its handler
  // may send the next command at once.
  clientState_ = csIdle;
  lastResult_ = result;
  if (wantsCommandComplete_ && Connected()) {
    auto record = std::make_unique<TClientEvent>();
    record->kind = ekCommandComplete;
    record->ecr = 0;
    record->number = result;
    record->text = buffer.data();
    queue_.Enqueue(std::move(record));
  }
  AfterDelivery();
  Release();
}

std::int32_t TTallisInterfaceImpl::EcrConfVal(std::int32_t id) {
  if (!Connected()) return lastResult_ = SOR_NO_PORT;
  TTranslatorGate gate;
  if (Busy() || !gate.Entered()) return lastResult_ = SOR_BUSY;
  return port_.GetEcrConfVal(static_cast<unsigned>(id));
}

std::string TTallisInterfaceImpl::EcrConfStr(std::int32_t id) {
  if (!Connected()) {
    lastResult_ = SOR_NO_PORT;
    return {};
  }
  TTranslatorGate gate;
  if (Busy() || !gate.Entered()) {
    lastResult_ = SOR_BUSY;
    return {};
  }
  return port_.GetEcrConfStr(static_cast<unsigned>(id));
}

std::int32_t TTallisInterfaceImpl::DirectIO(std::int32_t command, std::int32_t data,
                                            std::string& text) {
  if (!Connected()) return lastResult_ = SOR_NO_PORT;
  TTranslatorGate gate;
  if (Busy() || !gate.Entered()) return lastResult_ = SOR_BUSY;
  if (text.size() > kMaxDirectInput) return lastResult_ = SOR_LINE_TOO_LONG;
  std::array<char, kMaxDirectInput + 1> input{};
  std::copy(text.begin(), text.end(), input.begin());
  std::array<char, kDirectOutputBytes> output{};
  int outLen = kDirectOutputBytes;  // the capacity, on the way in
  int detail = 0;
  const int result = port_.PortEcrIO(data, command, input.data(),
                                     static_cast<int>(text.size()) + 1, output.data(), &outLen,
                                     &detail);
  // A protocol library that reports more than it was given room for gets cut.
  outLen = std::clamp(outLen, 0, kDirectOutputBytes);
  text.assign(output.data(), static_cast<std::size_t>(outLen));
  return result;
}

std::int32_t TTallisInterfaceImpl::EcrStatus(std::int32_t ecr) {
  if (!Connected()) {
    lastResult_ = SOR_NO_PORT;
    return SOR_BAD_INDEX;
  }
  // A status request must not slip between the frames of a command on the way.
  TTranslatorGate gate;
  if (Busy() || !gate.Entered()) return lastResult_ = SOR_BUSY;
  const int status = port_.PortGetEcrIStatus(ecr);
  lastResult_ = status == -1 ? port_.PortGetLastError() : SOR_OK;
  return status;
}

// ---- properties ----

namespace {

bool TranslatorOptionOf(std::int32_t index, TTranslatorOption& option) {
  switch (index) {
    case Pidx_EnableTradDC: option = TTranslatorOption::EnableTradDC; return true;
    case Pidx_QuoteChar: option = TTranslatorOption::QuoteChar; return true;
    case Pidx_SeparatorChar: option = TTranslatorOption::SeparatorChar; return true;
    case Pidx_OutEditOptions: option = TTranslatorOption::OutEditOptions; return true;
    default: return false;
  }
}

}  // namespace

std::int32_t TTallisInterfaceImpl::GetPropertyNumber(std::int32_t index) {
  TTranslatorOption option;
  if (TranslatorOptionOf(index, option)) {
    // The options live in the translator, which is loaded with the port.
    if (!Connected()) {
      lastResult_ = SOR_NO_PORT;
      return SOR_BAD_INDEX;
    }
    const int value = port_.GetOption(option);
    return index == Pidx_EnableTradDC ? (value & 0xFF) : value;
  }
  switch (index) {
    case Pidx_EventMask: return Connected() ? port_.GetSlotEventMask(slot_) : 0;
    case Pidx_Version: return kObjectVersion;
    case Pidx_AsyncMode: return async_ ? 1 : 0;
    case Pidx_State: return clientState_;
    case Pidx_LastResult: return lastResult_;
    default: return SOR_BAD_INDEX;  // 10, 11 and anything outside 1..11
  }
}

void TTallisInterfaceImpl::SetPropertyNumber(std::int32_t index, std::int32_t number) {
  if (Busy()) {
    lastResult_ = SOR_BUSY;
    return;
  }
  TTranslatorOption option;
  if (TranslatorOptionOf(index, option)) {
    if (!Connected()) {
      lastResult_ = SOR_NO_PORT;
      return;
    }
    TTranslatorGate gate;
    if (!gate.Entered()) {
      lastResult_ = SOR_BUSY;
      return;
    }
    port_.SetOption(option, index == Pidx_EnableTradDC ? (number != 0) : number);
    return;
  }
  switch (index) {
    case Pidx_EventMask:
      if (!Connected()) {
        lastResult_ = SOR_NO_PORT;
        return;
      }
      wantsCommandComplete_ = (number & emCommandComplete) != 0;
      lastResult_ = port_.SetSlotEventMask(number & kAllEventMaskBits, slot_) ? SOR_OK
                                                                              : SOR_EVENT_TAKEN;
      return;
    case Pidx_AsyncMode:
      async_ = number != 0;
      lastResult_ = SOR_OK;
      return;
    case Pidx_LogicalPort:
      logicalPort_ = number;
      return;
    default:
      return;  // read-only, reserved or unknown
  }
}

std::string TTallisInterfaceImpl::GetPropertyString(std::int32_t index) {
  if (index == Pidx_Description) return kObjectDescription;
  if (index != Pidx_CurrentDir) return kBadStringIndexText;
  char buffer[kCurrentDirBytes];
  const DWORD length = GetCurrentDirectoryA(kCurrentDirBytes, buffer);
  if (length == 0 || length >= kCurrentDirBytes) {
    lastResult_ = SOR_DIR_ERROR;
    return {};
  }
  lastResult_ = SOR_OK;
  return std::string(buffer, length);
}

void TTallisInterfaceImpl::SetPropertyString(std::int32_t index, const std::string& text) {
  if (index != Pidx_CurrentDir) return;
  // The directory is the whole process's: AutoRun's and other clients'
  // batches resolve their file names against it. Only the connected client
  // may move it, and not while something runs in the translator.
  if (!Connected()) {
    lastResult_ = SOR_NO_PORT;
    return;
  }
  if (Busy() || TTranslatorGate::Held()) {
    lastResult_ = SOR_BUSY;
    return;
  }
  const bool fits = text.size() < kCurrentDirBytes && text.find('\0') == std::string::npos;
  lastResult_ = fits && SetCurrentDirectoryA(text.c_str()) ? SOR_OK : SOR_DIR_ERROR;
}

}  // namespace ravelin
