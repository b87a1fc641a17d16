// The driver window: the program's one window and the hub of the server. It
// holds the client slot, opens and closes the logical port (translator and
// protocol library), serves the translator's host callbacks, turns the
// protocol library's callbacks into posted messages and register events into
// client events or default answers, and shows the line and event counters
// with a tray icon.
#pragma once

#include <windows.h>

#include <array>
#include <memory>
#include <string>

#include "autorun/autorun_log_view.h"
#include "autorun/autorun_port.h"
#include "autorun/autorun_spooler.h"
#include "autorun/log_notifier.h"
#include "command_switches.h"
#include "port/protocol_driver.h"
#include "port/translator_library.h"
#include "port_session.h"
#include "window/client_slots.h"
#include "window/line_graph.h"
#include "window/line_statistics.h"
#include "window/register_events.h"
#include "window/translator_events.h"
#include "window/tray_icon.h"

namespace ravelin {

// Controls of the window that tests and the tray read back.
enum TMainFormControl : int {
  idMediaT = 101,
  idConnectionAlive,
  idLastPeriod,
  idEventMask,
  idDataCollection,
  idEnquiry,
  idInteractivities,
  idNetChange,
  idGraph,
  idHide,
  idClose,
  idAutoRunGroup,
  idAutoRunLabel,
  idAutoRunAnswer,  // eAutoRun
  idShowLog,        // bLog
  idLog,            // mLog
};

inline constexpr const char* kMainFormClass = "RavelinDriverWindow";
inline constexpr const char* kMainFormCaption = "Velmora POS Ravelin";
inline constexpr const char* kTrayTip = "Velmora POS Ravelin v.1.5.0";
inline constexpr UINT_PTR kStatisticsTimer = 1;
inline constexpr UINT kStatisticsPeriodMs = 300;
// The first tick comes sooner: it reads the AutoRun settings.
inline constexpr UINT kFirstTickMs = 100;
// The answer buffer a client hands to EcrCmd.
inline constexpr std::size_t kTranslatorAnswerBytes = 256;

class TMainForm final : public IPortSession,
                        private IAutoRunPort,
                        private IProtocolEventHandler,
                        private IRegisterLink,
                        private IEventCounters {
 public:
  // Creates the window hidden. Messages about a port that cannot be opened
  // go to `notifier` (it outlives the window); when null, to message boxes,
  // or to the log in a process started with "/p" (no one there could dismiss
  // a box). `options` name the AutoRun port.
  explicit TMainForm(const TStartOptions& options, Notifier* notifier = nullptr);
  explicit TMainForm(Notifier* notifier = nullptr) : TMainForm(TStartOptions{}, notifier) {}
  ~TMainForm() override;
  TMainForm(const TMainForm&) = delete;
  TMainForm& operator=(const TMainForm&) = delete;

  HWND Handle() const { return window_; }
  bool PortOpen() const { return driver_ != nullptr; }
  int CurrentPort() const { return currentPort_; }
  const TProtocolDriver* Driver() const { return driver_.get(); }
  const TTranslatorLibrary* Translator() const { return translator_.get(); }
  const TAutoRunSpooler& AutoRun() const { return autoRun_; }

  // IPortSession
  int TakeClientSlot(IClientEventTarget* client) override;
  void FreeClientSlot(int slot) override;
  bool SetSlotEventMask(std::int32_t mask, int slot) override;
  std::int32_t GetSlotEventMask(int slot) override;
  // (also IAutoRunPort's)
  int OpenLogicalPort(int port) override;
  bool CloseLogicalPort() override;
  int EcrCmd(const char* line, char* answer) override;
  int GetOption(TTranslatorOption option) override;
  void SetOption(TTranslatorOption option, int value) override;
  int GetEcrConfVal(unsigned id) override;
  std::string GetEcrConfStr(unsigned id) override;
  int PortEcrIO(int a1, int a2, const char* in, int inLen, char* out, int* outLen, int* detail) override;
  int PortGetEcrIStatus(int ecr) override;
  int PortGetLastError() override;
  bool PostAsyncCommand(int slot) override;
  IEventReplies& Replies() override { return events_; }

  // The translator's host callbacks.
  int OnTradEcrIO(int a1, int a2, void* a3, void* a4, void* a5, void* a6, void* a7);
  void OnTradProgress(int ecr, int counter, int percent, const char* text, int* abort);

  bool PortSendData(int ecr, const void* data, int length);

  // The statistics step of the timer: line bar, counters, tray icon.
  void UpdateLineStatistics();

 private:
  // IProtocolEventHandler (library threads: post only)
  void OnRegisterMessage(int index, int eventChar) override;
  void OnLineStatusChange(int value, int detail) override;
  // IRegisterLink
  bool SendToRegister(int ecr, const Bytes& data) override;
  void ExchangeWithRegister(int ecr, const Bytes& frame) override;
  void ReportUnsentReply(int ecr) override;
  // IEventCounters
  void Count(TEventCounter counter) override;
  // IAutoRunPort
  bool ClientConnected() override { return slots_.OccupiedCount() != 0; }
  void SetAutoRunRunning(bool running) override { slots_.SetAutoRunRunning(running); }
  // Lets the window's pending messages run, as the program's message loop would.
  void ProcessMessages() override;
  void ShowAutoRunAnswer(const std::string& answer) override;
  // To the debugger and under the errors file in the log memo.
  void LogAutoRun(const std::string& text) override {
    log_.Show(text);
    logView_.AddNote(text, autoRun_.ErrorsFile());
    ShowLogText();
  }
  void ShowAutoRunGroup(bool visible) override;

  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void CreateControls();
  void CreateAutoRunControls(int top);
  void OnTimer();
  void BLogClick();
  void ShowLogText();
  void FitHeight();
  void WMEcrEvent(WPARAM index);
  void WMTrayIcon(LPARAM mouseMessage);
  void BCloseClick();
  void CloseTranslatorAndDriver();
  void ShowEventMasks();
  bool TranslatorUsable() const;
  void SetLabel(int id, const std::string& text);
  void SetLabel(int id, long long number) { SetLabel(id, std::to_string(number)); }

  HWND window_ = nullptr;
  HFONT font_ = nullptr;
  HBRUSH faceBrush_ = nullptr;
  MessageBoxNotifier messageBoxes_;
  TLogNotifier log_;
  Notifier& notifier_;
  std::unique_ptr<TLineGraph> graph_;
  std::unique_ptr<TTrayIcon> tray_;
  std::array<HICON, kTrayIconFrames> icons_{};
  TLineStatistics statistics_;
  int iconIndex_ = 0;

  TClientSlots slots_;
  TAutoRunSpooler autoRun_;
  TAutoRunLogView logView_;
  bool firstTick_ = true;
  bool autoRunGroupShown_ = false;
  int baseClientHeight_ = 0;
  // Made anew at each port open; the library itself stays loaded.
  std::unique_ptr<TTranslatorLibrary> translator_;
  TTranslatorEvents translatorEvents_;
  std::unique_ptr<TProtocolDriver> driver_;
  int currentPort_ = -1;
  TRegisterEvents events_;
};

}  // namespace ravelin
