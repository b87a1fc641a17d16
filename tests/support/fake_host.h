// A scripted host for translator tests: it stands where Ravelin and the
// protocol library stand, implements the host-service callback, the progress
// callback and the host-info record with its broadcast, status, extended
// status and trace functions, records everything the translator asks, and
// answers frames from a script:
//
//   FakeHost host;
//   host.expect("S").answer(0, status_idle());
//   host.expect(bytes({'A', 0})).answer(0, status_idle());
//
// It depends only on the translator's boundary headers, so the same tests can
// drive the translator compiled in or the real Quadrel.dll.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <initializer_list>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "interfaces/host_info.h"
#include "interfaces/translator_exports.h"

namespace quadrel_test {

using Bytes = std::vector<std::uint8_t>;

Bytes bytes(std::initializer_list<int> values);
Bytes bytes(std::string_view text);
std::string hex(const Bytes& data);

// An 'S' answer: letter, state, critical code, transaction flags, 0, key position, extra.
Bytes status_answer(int state, int critical = 0, int transaction = 0, int keyPosition = 1, int extra = 0);
Bytes status_idle();  // state 1 (idle), REG position, nothing open

// Host-info protocol types.
constexpr int kProtocolMultiEcr = 1;
constexpr int kProtocolRemote = 2;
constexpr int kProtocolConnection = 3;
constexpr int kProtocolHostOnly = 5;

struct FrameSeen {
  int ecr = 0;
  int mode = 0;
  Bytes frame;
};

struct ServiceSeen {
  int request = 0;
  int mode = 0;
  void* args[5] = {};  // frame, length, answer, answerLength, detail as the caller gave them
};

struct ProgressSeen {
  int ecr = 0;
  int count = 0;
  int percent = 0;
  std::string text;
};

struct StatusSeen {
  int ecr = 0;
  int mode = 0;
};

struct TraceSeen {
  int level = 0;
  std::string text;
};

class FakeHost {
 public:
  // One scripted exchange.
  class Step {
   public:
    // Host result, answer bytes (written into the caller's answer buffer) and detail.
    Step& answer(int result, Bytes answerBytes = {}, int detail = 0);
    // Host result only: the answer buffer and its length are left as they were.
    Step& answer_nothing(int result);
    // The frame must go to register `ecr`.
    Step& to(int ecr);
    // Runs while the host waits for this answer, as a host that pumps its
    // messages there calls the translator back.
    Step& meanwhile(std::function<void()> action);

   private:
    friend class FakeHost;
    enum class Match { Letter, Exact, Any };
    Match match = Match::Any;
    Bytes expected;
    int ecr = -1;  // -1: any register
    int result = 0;
    Bytes answerBytes;
    int detail = 0;
    bool writesAnswer = true;
    std::function<void()> action;
  };

  // Becomes the host that the callbacks reach; one at a time.
  FakeHost();
  // Fails the running test when scripted frames were not asked for.
  ~FakeHost();
  FakeHost(const FakeHost&) = delete;
  FakeHost& operator=(const FakeHost&) = delete;

  // Next expected frame: one character is a frame letter (any frame that
  // begins with it), a longer text the exact frame.
  Step& expect(std::string_view frameOrLetter);
  Step& expect(const Bytes& frame);
  Step& expect_any();
  // Scripted frames not yet asked for.
  int pending() const { return static_cast<int>(script_.size()); }

  // The two callbacks the translator receives.
  static TradEcrIOProc io();
  static TradProgressProc progress();

  // The host-info record: protocol type 3, register 1 present, every host
  // function set. Tests change fields freely.
  HostInfoRecord& info() { return info_; }
  void set_present(int ecr, bool present);
  // Request ECRIO_GET_INFO fails, as for a host without a record.
  void without_info() { infoOffered_ = false; }
  // Result of a service request (default 0).
  void service_result(int request, int result) { serviceResults_[request] = result; }
  // Serves `request` while the caller's words are alive: the handler reads
  // them, writes the out words and returns the host's result.
  using ServiceHandler = std::function<int(int mode, void* args[5])>;
  void on_service(int request, ServiceHandler handler) { serviceHandlers_[request] = std::move(handler); }

  // Status function: answers in order, then the default (0, ready).
  void status_answers(std::initializer_list<std::pair<int, int>> resultAndFlags);
  void status_default(int result, int flags) { statusDefault_ = {result, flags}; }

  // Broadcast function: its result, and per register its status code and answer.
  void broadcast_result(int result) { broadcastResult_ = result; }
  void broadcast_answer(int ecr, int statusCode, Bytes answerBytes);

  // The progress callback sets *abort to 1 from its `call`-th call on (1-based; 0 never).
  void abort_progress_at(int call) { abortAt_ = call; }

  const std::vector<FrameSeen>& frames() const { return frames_; }
  std::vector<Bytes> frame_bytes() const;
  const std::vector<ServiceSeen>& services() const { return services_; }
  const std::vector<ProgressSeen>& progress_calls() const { return progress_; }
  const std::vector<StatusSeen>& status_calls() const { return statusCalls_; }
  const std::vector<Bytes>& broadcasts() const { return broadcasts_; }
  const std::vector<TraceSeen>& traces() const { return traces_; }

 private:
  static int QUADREL_CALL OnEcrIO(int ecrOrRequest, int mode, void* frame, void* length, void* answer,
                                  void* answerLength, void* detail);
  static void QUADREL_CALL OnProgress(int ecr, int count, int percent, const char* text, int* abort);
  static int QUADREL_CALL OnBroadcast(int mode, const void* frame, int length, int ecrCount, int answerSize,
                                      void* answers, int* answerLengths, int* statusCodes);
  static int QUADREL_CALL OnStatus(int ecr, int mode, void* statusRecord);
  static int QUADREL_CALL OnStatusEx(int ecr, int mode, int* status, int* length, std::uint8_t* buffer);
  static int QUADREL_CALL OnTrace(int level, int, int, const char* text, int, int, int, const char*);

  int Exchange(int ecr, int mode, const Bytes& frame, void* answer, void* answerLength, void* detail);
  int Service(int request, int mode, void* args[5]);

  struct BroadcastReply {
    int statusCode = 0;
    Bytes answerBytes;
  };

  std::deque<Step> script_;
  HostInfoRecord info_{};
  std::int32_t presence_[25] = {};
  bool infoOffered_ = true;
  std::map<int, int> serviceResults_;
  std::map<int, ServiceHandler> serviceHandlers_;
  std::deque<std::pair<int, int>> statusScript_;
  std::pair<int, int> statusDefault_{0, 0};
  int broadcastResult_ = 0;
  std::map<int, BroadcastReply> broadcastReplies_;
  int abortAt_ = 0;

  std::vector<FrameSeen> frames_;
  std::vector<ServiceSeen> services_;
  std::vector<ProgressSeen> progress_;
  std::vector<StatusSeen> statusCalls_;
  std::vector<Bytes> broadcasts_;
  std::vector<TraceSeen> traces_;
};

}  // namespace quadrel_test
