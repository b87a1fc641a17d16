// Register events on their way to the client: queued, frozen, delivered, or
// answered as nobody's when the client is gone or too slow.
#include "com/tallis_interface_impl.h"

#include "com/client_call_bound.h"

namespace ravelin {
namespace {

// The answer the register gets to an interactivity nobody handled.
constexpr char kUnheardInteractReply[] = "B";

}  // namespace

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

}  // namespace ravelin
