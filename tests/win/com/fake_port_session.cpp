// The test build of the server: a fake driver window behind IPortSession. It
// behaves like the real window where the automation object can tell (one
// client slot, the exclusive event bits, posted asynchronous commands, events
// that arrive later as posted messages and reach only clients that asked for
// them, default answers otherwise) and plays a tiny register whose command
// lines drive it:
//   WAIT ms                 wait, pumping messages as the translator does
//   FAIL n                  result n
//   EVENT k ecr text        an unsolicited message of kind k (X Y F G B S)
//   PROGRESS n              n progress reports; stops when the client aborts
//   REPLIES                 what the register got back since the last REPLIES
//   QUIT                    ends the message loop, as closing the window does
//   anything else           "ECHO " and the line
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <deque>
#include <map>
#include <sstream>

#include "port_session.h"
#include "window_messages.h"

namespace ravelin {
namespace {

constexpr int kUnopenablePort = 99;
constexpr int kTradInitFailurePort = 98;
constexpr int kTradInitFailure = 4;
// On this port the window's queue is full: asynchronous commands cannot be posted.
constexpr int kFullQueuePort = 97;
constexpr std::size_t kAnswerBytes = 256;
// The server's exit code when the session went while a client still held its
// slot: that client's object would later call into freed memory.
constexpr UINT kSessionOutlivedExitCode = 86;

class TFakePortSession final : public IPortSession, private IEventReplies {
 public:
  TFakePortSession() {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = &TFakePortSession::WindowProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "RavelinFakePort";
    RegisterClassA(&windowClass);
    window_ = CreateWindowA("RavelinFakePort", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                            windowClass.hInstance, this);
  }
  ~TFakePortSession() override {
    if (client_) ExitProcess(kSessionOutlivedExitCode);
    DestroyWindow(window_);
  }
  bool Ready() const { return window_ != nullptr; }

  int TakeClientSlot(IClientEventTarget* client) override {
    if (client_) return -1;
    client_ = client;
    mask_ = 0;
    return 0;
  }
  void FreeClientSlot(int slot) override {
    if (slot != 0) return;
    client_ = nullptr;
    mask_ = 0;
    CloseLogicalPort();
  }
  bool SetSlotEventMask(std::int32_t mask, int slot) override {
    if (slot != 0) return false;
    mask_ = mask & kAllEventMaskBits;
    return true;
  }
  std::int32_t GetSlotEventMask(int slot) override { return slot == 0 ? mask_ : 0; }

  int OpenLogicalPort(int port) override {
    if (port == kUnopenablePort) return 20;
    if (port == kTradInitFailurePort) return kTradInitFailure;
    port_ = port;
    return 0;
  }
  bool CloseLogicalPort() override {
    if (port_ < 0 || client_) return false;
    port_ = -1;
    return true;
  }

  int EcrCmd(const char* line, char* answer) override {
    std::istringstream words(line);
    std::string verb;
    words >> verb;
    std::string text;
    int result = 0;
    if (verb == "WAIT") {
      int ms = 0;
      words >> ms;
      Wait(ms);
      text = "OK.";
    } else if (verb == "FAIL") {
      words >> result;
      text = "ERROR " + std::to_string(result);
    } else if (verb == "EVENT") {
      TPending event;
      words >> event.kind >> event.ecr;
      std::getline(words >> std::ws, event.text);
      pending_.push_back(event);
      PostMessageA(window_, WM_ECREVENT, 0, 0);
      text = "OK.";
    } else if (verb == "PROGRESS") {
      int steps = 0;
      words >> steps;
      text = "OK.";
      for (int step = 1; step <= steps; ++step) {
        int abort = 0;
        if (client_ && (mask_ & emProgressCtrl))
          client_->FireProgress(1, step, step * 100 / steps, "Progress", &abort);
        if (abort == 1) {
          text = "ABORTED " + std::to_string(step);
          result = 1;
          break;
        }
      }
    } else if (verb == "QUIT") {
      PostQuitMessage(0);
      text = "OK.";
    } else if (verb == "REPLIES") {
      text = replies_;
      replies_.clear();
    } else {
      text = "ECHO " + std::string(line);
    }
    // The translator never writes more than its smallest caller's buffer.
    const std::size_t length = std::min(text.size(), kAnswerBytes - 1);
    std::memcpy(answer, text.data(), length);
    answer[length] = '\0';
    return result;
  }

  int GetOption(TTranslatorOption option) override { return options_[option]; }
  void SetOption(TTranslatorOption option, int value) override { options_[option] = value; }
  int GetEcrConfVal(unsigned id) override { return static_cast<int>(id) * 3 + port_; }
  std::string GetEcrConfStr(unsigned id) override {
    return "CONF" + std::to_string(id) + " PORT" + std::to_string(port_);
  }

  // DirectIO commands: 1 echoes the input reversed and returns a1; 2 returns
  // the output capacity it was given; 3 fills the capacity and then claims
  // far more; 4 returns the input length; 5 waits a1 ms.
  int PortEcrIO(int a1, int a2, const char* in, int inLen, char* out, int* outLen,
                int* detail) override {
    *detail = 0;
    const int capacity = *outLen;
    switch (a2) {
      case 1: {
        const int length = std::min(std::max(inLen - 1, 0), capacity);
        std::reverse_copy(in, in + length, out);
        *outLen = length;
        return a1;
      }
      case 2:
        *outLen = 0;
        return capacity;
      case 3:
        std::memset(out, 'Z', static_cast<std::size_t>(capacity));
        *outLen = 100000;
        return 0;
      case 4:
        *outLen = 0;
        return inLen;
      case 5:
        *outLen = 0;
        Wait(a1);
        return 0;
      default:
        *outLen = 0;
        return -1;
    }
  }
  int PortGetEcrIStatus(int ecr) override { return ecr == 1 ? 0x41 : -1; }
  int PortGetLastError() override { return 77; }

  bool PostAsyncCommand(int slot) override {
    return port_ != kFullQueuePort && PostMessageA(window_, WM_RUNASYNCCMD, slot, slot) != 0;
  }
  IEventReplies& Replies() override { return *this; }

 private:
  struct TPending {
    char kind = 0;
    int ecr = 0;
    std::string text;
  };

  void ReplyFileExtEnq(const TClientEvent& record) override {
    Log("F" + std::to_string(record.ecr) + ":" + record.text + ":" +
        std::to_string(record.replyCode) + ":" + record.replyText);
  }
  void ReplyInteract(const TClientEvent& record) override {
    Log("B" + std::to_string(record.ecr) + ":" + record.text);
  }
  void Log(const std::string& reply) { replies_ += (replies_.empty() ? "" : "|") + reply; }

  void Wait(int ms) {
    const DWORD end = GetTickCount() + static_cast<DWORD>(ms);
    while (static_cast<int>(end - GetTickCount()) > 0) {
      MSG message;
      while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
      }
      Sleep(5);
    }
  }

  // One pending register message becomes a client event, or the answer the
  // register gets when no client wants it.
  void DeliverPending() {
    if (pending_.empty()) return;
    const TPending event = pending_.front();
    pending_.pop_front();
    auto record = std::make_unique<TClientEvent>();
    record->ecr = event.ecr;
    record->text = event.text;
    std::int32_t bit = 0;
    switch (event.kind) {
      case 'X': record->kind = ekDataX; bit = emDataX; break;
      case 'Y': record->kind = ekDataY; bit = emDataY; break;
      case 'F':
        record->kind = ekFileExtEnq;
        bit = emFileExtEnq;
        record->number = 7;
        record->value1 = 1.5;
        break;
      case 'G':
        record->kind = ekFileExtUpd;
        bit = emFileExtUpd;
        record->number = 8;
        record->value1 = 2.25;
        record->value2 = -3.5;
        break;
      case 'B': record->kind = ekInteract; bit = emInteract; break;
      case 'S':
        record->kind = ekStatusChange;
        bit = emStatusChange;
        record->number = 7;  // the line's detail; ecr carries its value
        break;
      default: return;
    }
    if (client_ && (mask_ & bit)) {
      client_->EnqueueEvent(std::move(record));
    } else if (record->kind == ekFileExtEnq) {
      Log("F" + std::to_string(record->ecr) + ":unhandled");
    } else if (record->kind == ekInteract) {
      Log("B" + std::to_string(record->ecr) + ":unhandled");
    }
  }

  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
      auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
      SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<TFakePortSession*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (self && message == WM_RUNASYNCCMD) {
      if (wParam == 0 && self->client_) self->client_->RunPendingCommand();
      return 0;
    }
    if (self && message == WM_ECREVENT) {
      self->DeliverPending();
      return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
  }

  HWND window_ = nullptr;
  IClientEventTarget* client_ = nullptr;
  std::int32_t mask_ = 0;
  int port_ = -1;
  std::map<TTranslatorOption, int> options_;
  std::deque<TPending> pending_;
  std::string replies_;
};

}  // namespace

std::unique_ptr<IPortSession> MakePortSession(const TStartOptions&) {
  auto session = std::make_unique<TFakePortSession>();
  if (!session->Ready()) return nullptr;
  return session;
}

}  // namespace ravelin
