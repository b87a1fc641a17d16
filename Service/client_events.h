// What the driver window hands to a connected client: one queued register
// event (TClientEvent), the event-mask bits a client selects, and the two small
// interfaces through which the window and a client connection meet without
// knowing each other's classes.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace ravelin {

// Kinds of queued events; the values are the client event method order.
enum TClientEventKind : std::int32_t {
  ekDataX = 0,
  ekDataY = 1,
  ekFileExtEnq = 2,
  ekFileExtUpd = 3,
  ekInteract = 4,
  ekProgress = 5,  // delivered at once, never queued
  ekCommandComplete = 6,
  ekProcessID = 7,  // no event is ever made of this kind
  ekStatusChange = 8,
};

// Event-mask bits of a client slot.
enum TEventMaskBit : std::int32_t {
  emDataX = 0x01,
  emDataY = 0x02,
  emFileExtEnq = 0x04,  // one slot at most
  emFileExtUpd = 0x08,
  emInteract = 0x10,  // one slot at most
  emProgressCtrl = 0x20,
  emCommandComplete = 0x40,
  emStatusChange = 0x80,
  emReserved = 0x100,  // stored, selects nothing
};
constexpr std::int32_t kAllEventMaskBits = 0x1FF;

// Reply code of an enquiry the client left unanswered: "not found", so the
// register gets the 'N' reply rather than a frame built from an empty answer.
constexpr std::int32_t kUnansweredReplyCode = 2;

// One register event (or command completion) for a client.
struct TClientEvent {
  std::int32_t kind = ekDataX;
  // register; 0 for ekCommandComplete; the line value for ekStatusChange
  std::int32_t ecr = 0;
  // status word (ekFileExtEnq, ekFileExtUpd), detail (ekStatusChange),
  // result code (ekCommandComplete)
  std::int32_t number = 0;
  // event text (ekDataX, ekDataY, ekInteract: the client's changes are the
  // reply), answer (ekCommandComplete), article code (ekFileExtEnq, ekFileExtUpd)
  std::string text;
  double value1 = 0.0;  // quantity (ekFileExtEnq), first value (ekFileExtUpd)
  double value2 = 0.0;  // second value (ekFileExtUpd)
  // filled by the client's "SOFileExtEnq" handler
  std::int32_t replyCode = kUnansweredReplyCode;
  std::string replyText;
  // When the connection queued it (tick count, ms): a question of the
  // register waits only so long behind frozen events.
  std::uint32_t queuedAt = 0;
};

// An enquiry or an interactivity: the register waits for its answer.
inline bool IsRegisterQuestion(const TClientEvent& record) {
  return record.kind == ekFileExtEnq || record.kind == ekInteract;
}

// A client connection as the driver window sees it. Implemented by the
// automation object; the window calls these on its own thread only.
class IClientEventTarget {
 public:
  // Queue the record and deliver it unless the client froze its events.
  virtual void EnqueueEvent(std::unique_ptr<TClientEvent> record) = 0;
  // Translator progress: delivered at once (dropped while events are frozen).
  // The client may set *abort to 1.
  virtual void FireProgress(int ecr, int counter, int percent, const char* text, int* abort) = 0;
  // The connection's asynchronous command posted with WM_RUNASYNCCMD.
  virtual void RunPendingCommand() = 0;

 protected:
  ~IClientEventTarget() = default;
};

// The driver window's side: sends the client's answer to an enquiry or an
// interactivity to the register, after the client's handler returned.
class IEventReplies {
 public:
  virtual void ReplyFileExtEnq(const TClientEvent& record) = 0;
  virtual void ReplyInteract(const TClientEvent& record) = 0;

 protected:
  ~IEventReplies() = default;
};

}  // namespace ravelin
