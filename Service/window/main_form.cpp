#include "window/main_form.h"

#include <cstdint>
#include <cstdlib>

#include <cstring>

#include "no_throw.h"
#include "platform/platform.h"
#include "port/port_settings.h"
#include "translator_gate.h"
#include "window_messages.h"

namespace ravelin {
namespace {

constexpr const char* kNoMedia = "Nessuna";
constexpr int kReplyBufferBytes = 1024;
constexpr int kPortNotOpened = 20;

int LabelNumber(HWND window, int id) {
  char text[32] = {};
  GetDlgItemTextA(window, id, text, sizeof text);
  return std::atoi(text);
}

}  // namespace

TMainForm::TMainForm(const TStartOptions& options, Notifier* notifier)
    : notifier_(notifier ? *notifier : options.autoRunPortGiven ? static_cast<Notifier&>(log_) : messageBoxes_),
      autoRun_(*this, TAutoRunStart{options.autoRunPort, options.autoRunPortGiven}),
      events_(translatorEvents_, *this, slots_, *this) {
  const HINSTANCE instance = GetModuleHandleA(nullptr);
  WNDCLASSA formClass{};
  if (!GetClassInfoA(instance, kMainFormClass, &formClass)) {
    formClass.lpfnWndProc = WindowProc;
    formClass.hInstance = instance;
    formClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    formClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    formClass.lpszClassName = kMainFormClass;
    RegisterClassA(&formClass);
  }
  faceBrush_ = GetSysColorBrush(COLOR_BTNFACE);
  // Stay on top, sizeable tool window without border icons, at the top left corner.
  window_ = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, kMainFormClass, kMainFormCaption,
                            WS_CAPTION | WS_THICKFRAME, 0, 0, 330, 420, nullptr, nullptr, instance, this);
  if (!window_) return;
  CreateControls();
  RECT client{};
  GetClientRect(window_, &client);
  baseClientHeight_ = client.bottom;
  for (int i = 0; i < kTrayIconFrames; ++i) {
    const std::string name = "ICONT" + std::to_string(i);
    icons_[i] = static_cast<HICON>(LoadImageA(instance, name.c_str(), IMAGE_ICON, 16, 16, 0));
  }
  tray_ = std::make_unique<TTrayIcon>(window_, WM_TRAYNOTIFY);
  tray_->Modify(icons_[iconIndex_], kTrayTip);
  SetTimer(window_, kStatisticsTimer, kFirstTickMs, nullptr);
}

TMainForm::~TMainForm() {
  if (window_) {
    KillTimer(window_, kStatisticsTimer);
    // Closing the window ends the server: a port nobody uses any more goes too.
    if (PortOpen() && slots_.OccupiedCount() == 0) CloseTranslatorAndDriver();
    tray_.reset();
    SetWindowLongPtrA(window_, GWLP_USERDATA, 0);
    DestroyWindow(window_);
  }
  driver_.reset();
  for (HICON icon : icons_) {
    if (icon) DestroyIcon(icon);
  }
  if (font_) DeleteObject(font_);
}

// ---- client slots ----

int TMainForm::TakeClientSlot(IClientEventTarget* client) {
  const int slot = slots_.Take(client);
  if (slot >= 0) SetLabel(idConnectionAlive, slots_.OccupiedCount());
  return slot;
}

void TMainForm::FreeClientSlot(int slot) {
  const int occupied = slots_.Free(slot);
  SetLabel(idConnectionAlive, occupied);
  ShowEventMasks();
  if (occupied == 0) CloseLogicalPort();
}

bool TMainForm::SetSlotEventMask(std::int32_t mask, int slot) {
  const bool stored = slots_.SetMask(mask, slot);
  ShowEventMasks();
  return stored;
}

std::int32_t TMainForm::GetSlotEventMask(int slot) { return slots_.Mask(slot); }

void TMainForm::ShowEventMasks() { SetLabel(idEventMask, slots_.CombinedMask()); }

// ---- logical port ----

int TMainForm::OpenLogicalPort(int port) {
  if (PortOpen()) CloseTranslatorAndDriver();
  const std::string keyPath = PortKeyPath(port);
  const std::string portType = ReadPortType(keyPath);
  SetLabel(idMediaT, portType);

  translator_ = std::make_unique<TTranslatorLibrary>(keyPath, notifier_);
  translatorEvents_.Use(translator_.get());
  translator_->SetServiceHandler(
      [this](int a1, int a2, void* a3, void* a4, void* a5, void* a6, void* a7) {
        return OnTradEcrIO(a1, a2, a3, a4, a5, a6, a7);
      });
  translator_->SetProgressHandler([this](int ecr, int counter, int percent, const std::string& text, int* abort) {
    OnTradProgress(ecr, counter, percent, text.c_str(), abort);
  });
  // A translator that is not fully bound must not be called: the open fails
  // before the protocol library is touched.
  if (translator_->ok()) {
    driver_ = std::make_unique<TProtocolDriver>(keyPath, notifier_, static_cast<IProtocolEventHandler*>(this));
  }
  if (!driver_ || !driver_->IsOpen()) {
    driver_.reset();
    currentPort_ = -1;
    return kPortNotOpened;
  }
  currentPort_ = port;
  // GetClient is bound for exactly the port types that are asked for it.
  if (driver_->IsTelematic()) {
    for (int n = 1; n <= 3; ++n) translator_->SetRtClient(n, driver_->ProtGetClient(n).value_or(0));
  }
  return translator_->CallTradInit();
}

bool TMainForm::CloseLogicalPort() {
  if (!PortOpen() || slots_.OccupiedCount() != 0) return false;
  CloseTranslatorAndDriver();
  SetLabel(idMediaT, kNoMedia);
  return true;
}

void TMainForm::CloseTranslatorAndDriver() {
  if (TranslatorUsable()) translator_->entry().TradClose();
  // ProtClose detaches the callbacks before CloseProt, so a late callback
  // from the library's reader thread finds nothing.
  driver_->ProtClose();
  driver_.reset();
  currentPort_ = -1;
}

// ---- translator pass-throughs ----

bool TMainForm::TranslatorUsable() const { return translator_ && translator_->ok(); }

int TMainForm::EcrCmd(const char* line, char* answer) {
  std::string text;
  const int result = translator_ ? translator_->EcrCmd(line ? line : "", text) : kTradInitUnavailable;
  // The caller's buffer holds the translator's longest answer.
  const std::size_t length = text.size() < kTranslatorAnswerBytes ? text.size() : kTranslatorAnswerBytes - 1;
  std::memcpy(answer, text.data(), length);
  answer[length] = '\0';
  return result;
}

int TMainForm::GetOption(TTranslatorOption option) {
  if (!TranslatorUsable()) return 0;
  const TranslatorEntryPoints& entry = translator_->entry();
  switch (option) {
    case TTranslatorOption::EnableTradDC: return entry.GetEnableTradDC() & 0xFF;
    case TTranslatorOption::QuoteChar: return entry.GetQuoteChar();
    case TTranslatorOption::SeparatorChar: return entry.GetSeparatorChar();
    case TTranslatorOption::OutEditOptions: return entry.GetOutEditOptions();
  }
  return 0;
}

void TMainForm::SetOption(TTranslatorOption option, int value) {
  if (!TranslatorUsable()) return;
  const TranslatorEntryPoints& entry = translator_->entry();
  switch (option) {
    case TTranslatorOption::EnableTradDC: entry.SetEnableTradDC(value); break;
    case TTranslatorOption::QuoteChar: entry.SetQuoteChar(value); break;
    case TTranslatorOption::SeparatorChar: entry.SetSeparatorChar(value); break;
    case TTranslatorOption::OutEditOptions: entry.SetOutEditOptions(value); break;
  }
}

int TMainForm::GetEcrConfVal(unsigned id) { return TranslatorUsable() ? translator_->entry().GetEcrConfVal(id) : 0; }

std::string TMainForm::GetEcrConfStr(unsigned id) {
  return translator_ ? translator_->EcrConfStr(id).value_or(std::string()) : std::string();
}

// ---- protocol library access ----

int TMainForm::PortEcrIO(int a1, int a2, const char* in, int inLen, char* out, int* outLen, int* detail) {
  if (!driver_) return kHostNoLine;
  return driver_->ProtEcrIO(a1, a2, const_cast<char*>(in), reinterpret_cast<void*>(static_cast<intptr_t>(inLen)),
                            out, outLen, detail);
}

int TMainForm::PortGetEcrIStatus(int ecr) {
  int status = 0;
  return driver_ && driver_->ProtGetEcrIStatus(ecr, status) ? status : -1;
}

int TMainForm::PortGetLastError() { return driver_ ? driver_->ProtFetchLastError() : 0; }

bool TMainForm::PortSendData(int ecr, const void* data, int length) {
  return driver_ && driver_->ProtSendData(ecr, data, length);
}

bool TMainForm::PostAsyncCommand(int slot) { return PostMessageA(window_, WM_RUNASYNCCMD, slot, slot) != 0; }

// ---- translator host callbacks ----

int TMainForm::OnTradEcrIO(int a1, int a2, void* a3, void* a4, void* a5, void* a6, void* a7) {
  const int result = driver_ ? driver_->ProtEcrIO(a1, a2, a3, a4, a5, a6, a7) : kHostNoLine;
  ProcessMessages();
  return result;
}

void TMainForm::OnTradProgress(int ecr, int counter, int percent, const char* text, int* abort) {
  if (IClientEventTarget* client = slots_.FirstClientWith(emProgressCtrl)) {
    client->FireProgress(ecr, counter, percent, text, abort);
  }
}

void TMainForm::ProcessMessages() { platform::PumpThreadMessages(); }

// ---- protocol callbacks and register events ----

void TMainForm::OnRegisterMessage(int index, int eventChar) {
  PostMessageA(window_, MessageForEventChar(eventChar), static_cast<WPARAM>(index), eventChar);
}

void TMainForm::OnLineStatusChange(int value, int detail) {
  PostMessageA(window_, WM_ECRSTATUSCHANGE, static_cast<WPARAM>(value), detail);
}

void TMainForm::WMEcrEvent(WPARAM index) {
  TEcrMessage message{};
  if (!driver_ || !driver_->ProtGetEcrMessage(static_cast<int>(index), message)) return;
  events_.HandleMessage(message);
}

bool TMainForm::SendToRegister(int ecr, const Bytes& data) {
  return PortSendData(ecr, data.data(), static_cast<int>(data.size()));
}

void TMainForm::ReportUnsentReply(int ecr) {
  log_.Show("Risposta non inviata al registratore " + std::to_string(ecr) + " (errore " +
            std::to_string(PortGetLastError()) + ")");
}

void TMainForm::ExchangeWithRegister(int ecr, const Bytes& frame) {
  if (!driver_) return;
  std::uint8_t answer[kReplyBufferBytes];
  int answerLength = kReplyBufferBytes;
  int detail = 0;
  driver_->ProtEcrIO(ecr, 3, const_cast<std::uint8_t*>(frame.data()),
                     reinterpret_cast<void*>(static_cast<intptr_t>(frame.size())), answer, &answerLength, &detail);
  ProcessMessages();
}

void TMainForm::Count(TEventCounter counter) {
  static constexpr int kLabels[] = {idDataCollection, idEnquiry, idInteractivities, idNetChange};
  const int id = kLabels[static_cast<int>(counter)];
  SetLabel(id, LabelNumber(window_, id) + 1);
}

// ---- statistics, tray and buttons ----

void TMainForm::UpdateLineStatistics() {
  const TLineSample sample = statistics_.Tick(PortOpen(), PortOpen() ? driver_->ProtGetByteCount() : 0);
  SetLabel(idLastPeriod, sample.lastPeriod);
  graph_->AddBar(sample.bar, sample.portOpen);
  iconIndex_ = sample.iconIndex;
  tray_->Modify(icons_[iconIndex_], kTrayTip);
}

void TMainForm::WMTrayIcon(LPARAM mouseMessage) {
  if (mouseMessage == WM_LBUTTONUP) ShowWindow(window_, SW_SHOW);
  if (mouseMessage == WM_RBUTTONUP) ShowWindow(window_, SW_HIDE);
}

void TMainForm::BCloseClick() {
  if (MessageBoxA(window_, "Are you sure?", "Confirm", MB_YESNO | MB_ICONQUESTION) != IDYES) return;
  SendMessageA(window_, WM_CLOSE, 0, 0);
}

// ---- timer and AutoRun ----

void TMainForm::OnTimer() {
  if (firstTick_) {
    firstTick_ = false;
    SetTimer(window_, kStatisticsTimer, kStatisticsPeriodMs, nullptr);
  }
  autoRun_.Tick();
  UpdateLineStatistics();
}

void TMainForm::ShowAutoRunAnswer(const std::string& answer) {
  SetLabel(idAutoRunAnswer, answer);
  logView_.AnswerChanged(autoRun_.ErrorsFile());
  ShowLogText();
}

void TMainForm::ShowAutoRunGroup(bool visible) {
  autoRunGroupShown_ = visible;
  for (int id : {idAutoRunGroup, idAutoRunLabel, idAutoRunAnswer, idShowLog})
    ShowWindow(GetDlgItem(window_, id), visible ? SW_SHOW : SW_HIDE);
  FitHeight();
}

void TMainForm::BLogClick() {
  logView_.Toggle(autoRun_.ErrorsFile());
  SetLabel(idShowLog, logView_.ButtonCaption());
  ShowLogText();
  ShowWindow(GetDlgItem(window_, idLog), logView_.Shown() ? SW_SHOW : SW_HIDE);
  FitHeight();
}

void TMainForm::ShowLogText() { SetLabel(idLog, logView_.Text()); }

// The window grows by the AutoRun group and the log while they are shown.
void TMainForm::FitHeight() {
  int clientHeight = baseClientHeight_;
  if (autoRunGroupShown_) {
    RECT control;
    GetWindowRect(GetDlgItem(window_, logView_.Shown() ? idLog : idAutoRunGroup), &control);
    POINT bottom{0, control.bottom};
    ScreenToClient(window_, &bottom);
    clientHeight = bottom.y + 8;
  }
  RECT frame;
  GetWindowRect(window_, &frame);
  RECT client{};
  GetClientRect(window_, &client);
  const int border = (frame.bottom - frame.top) - client.bottom;
  SetWindowPos(window_, nullptr, 0, 0, frame.right - frame.left, clientHeight + border,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TMainForm::SetLabel(int id, const std::string& text) { SetDlgItemTextA(window_, id, text.c_str()); }

LRESULT CALLBACK TMainForm::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* form = reinterpret_cast<TMainForm*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (!form || !form->window_) return DefWindowProcA(window, message, wParam, lParam);
  return NoThrow("driver window", LRESULT{0}, [&] { return form->HandleMessage(message, wParam, lParam); });
}

LRESULT TMainForm::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ECREVENT: WMEcrEvent(wParam); return 0;
    case WM_ECROTHER: return 0;
    case WM_ECRSTATUSCHANGE: events_.HandleStatusChange(static_cast<int>(wParam), static_cast<int>(lParam)); return 0;
    case WM_RUNASYNCCMD:
      if (IClientEventTarget* client = slots_.Client(static_cast<int>(wParam))) client->RunPendingCommand();
      return 0;
    case WM_TRAYNOTIFY: WMTrayIcon(lParam); return 0;
    case WM_TIMER:
      if (wParam == kStatisticsTimer) OnTimer();
      return 0;
    case WM_COMMAND:
      if (LOWORD(wParam) == idHide) ShowWindow(window_, SW_HIDE);
      if (LOWORD(wParam) == idClose) BCloseClick();
      if (LOWORD(wParam) == idShowLog) BLogClick();
      return 0;
    case WM_CLOSE:
      // A command running under the gate (a command file, a client's call)
      // keeps its port: it closes it itself, and the program ends after it.
      if (PortOpen() && slots_.OccupiedCount() == 0 && !TTranslatorGate::Held()) CloseTranslatorAndDriver();
      PostQuitMessage(0);
      ShowWindow(window_, SW_HIDE);
      return 0;
    case WM_CTLCOLORSTATIC: {
      const int id = GetDlgCtrlID(reinterpret_cast<HWND>(lParam));
      const auto dc = reinterpret_cast<HDC>(wParam);
      SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
      // The counters are red.
      SetTextColor(dc, id >= idConnectionAlive && id <= idNetChange ? RGB(255, 0, 0) : GetSysColor(COLOR_BTNTEXT));
      return reinterpret_cast<LRESULT>(faceBrush_);
    }
    default: return DefWindowProcA(window_, message, wParam, lParam);
  }
}

}  // namespace ravelin
