// The automation object a client creates (coclass TallisInterface): one per
// client, at most one of them holding the server's client slot and the open
// logical port at a time. It keeps the connection's state and forwards to
// the driver window through IPortSession; events reach the client through
// its TEventSink and TEventQueue. Window thread only (apartment threading).
// The IDispatch plumbing is tallis_interface_impl.cpp; the methods are in
// tallis_connection.cpp, tallis_commands.cpp, tallis_properties.cpp and
// tallis_events.cpp, by what they do.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <cstdint>
#include <string>
#include <vector>

#include "client_events.h"
#include "com/dispatch_args.h"
#include "com/event_queue.h"
#include "com/event_sink.h"
#include "com/tallis_codes.h"
#include "port_session.h"

namespace ravelin {

class TTallisInterfaceImpl final : public IDispatch, public IClientEventTarget {
 public:
  // `port` outlives every object (the driver window, or a test's fake).
  explicit TTallisInterfaceImpl(IPortSession& port);

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;
  // IDispatch
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID lcid, ITypeInfo** info) override;
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID lcid,
                                          DISPID* ids) override;
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID lcid, WORD flags,
                                   DISPPARAMS* params, VARIANT* result, EXCEPINFO* exception,
                                   UINT* argErr) override;

  // The automation methods; failures are result codes, never HRESULTs.
  std::int32_t OpenService(IDispatch* client);
  std::int32_t Close();
  std::int32_t COFreezeEvents(bool freeze);
  std::int32_t GetPropertyNumber(std::int32_t index);
  void SetPropertyNumber(std::int32_t index, std::int32_t number);
  std::string GetPropertyString(std::int32_t index);
  void SetPropertyString(std::int32_t index, const std::string& text);
  // `text`: the input bytes on the way in, the output bytes on the way out.
  std::int32_t DirectIO(std::int32_t command, std::int32_t data, std::string& text);
  std::int32_t EcrStatus(std::int32_t ecr);
  std::int32_t EcrCmd(const std::string& line, std::string& answer);
  std::int32_t EcrConfVal(std::int32_t id);
  std::string EcrConfStr(std::int32_t id);

  // IClientEventTarget (called by the driver window)
  void EnqueueEvent(std::unique_ptr<TClientEvent> record) override;
  void FireProgress(int ecr, int counter, int percent, const char* text, int* abort) override;
  void RunPendingCommand() override;

  // Longest command line and DirectIO input the buffers take (NUL excluded).
  static constexpr std::size_t kMaxCommandLine = 1023;
  static constexpr std::size_t kMaxDirectInput = 255;
  static constexpr int kDirectOutputBytes = 256;

  // At the program's end, before the port session goes: every live object
  // lets go of its connection and COM's references to it are cut, so that no
  // object outlives the session it points to.
  static void DisconnectAll();

 private:
  ~TTallisInterfaceImpl();
  HRESULT InvokeMethod(DISPID id, const TDispArgs& args, VARIANT* result);

  bool Connected() const { return slot_ >= 0; }
  bool Busy() const { return clientState_ == csRunning; }
  // Close's clean-up: frees the slot (closing the port), answers queued
  // questions of the register with the answers it gets when nobody listens,
  // drops the rest and lets the client's object go. False, and nothing done,
  // while someone is inside the translator or the protocol library: the port
  // must not close under them.
  bool Disconnect();
  void FireRecord(TClientEvent& record);
  // What the register gets for a question nobody answered.
  void AnswerUnheard(TClientEvent& record);
  // Questions of the register that waited behind frozen events longer than
  // a client call may take get the answer nobody's gets.
  void AnswerOverdueQuestions();
  // After a delivery: a client found gone is disconnected once nothing runs.
  void AfterDelivery();
  // The connected object of a client whose process is gone gives way: its
  // connection is closed and COM's references to it are cut, so neither the
  // slot nor the server's life depend on COM ever noticing the death.
  static void DropVanishedClient();
  // Looks for a vanished client now and then while one is connected, so that
  // AutoRun and the server's exit do not wait for the next client.
  static void StartClientWatch();
  static void CALLBACK WatchClient(HWND, UINT, UINT_PTR, DWORD);

  LONG refCount_ = 1;
  IPortSession& port_;
  std::string commandLine_;
  bool wantsCommandComplete_ = false;
  bool async_ = false;
  std::int32_t lastResult_ = 0;
  std::int32_t clientState_ = csIdle;
  int slot_ = -1;
  std::int32_t logicalPort_ = 0;
  bool clientLost_ = false;  // an event call found the client's process gone
  TEventSink sink_;
  TEventQueue queue_;

  // The object that holds the client slot, if any (one slot per process).
  static inline TTallisInterfaceImpl* connected_ = nullptr;
  static inline UINT_PTR watchTimer_ = 0;
  static inline std::vector<TTallisInterfaceImpl*> live_;
};

}  // namespace ravelin
