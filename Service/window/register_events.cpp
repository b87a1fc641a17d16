#include "window/register_events.h"

#include <algorithm>
#include <memory>

#include "window_messages.h"

namespace ravelin {
namespace {

// Reply texts beyond the window's 1024-byte reply buffer are cut.
constexpr std::size_t kMaxReplyText = 1023;

TClientEvent MakeRecord(TClientEventKind kind, int ecr) {
  TClientEvent record;
  record.kind = kind;
  record.ecr = ecr;
  return record;
}

int ClampedLength(const TEcrMessage& message) {
  return std::clamp<int>(message.length, 0, static_cast<int>(sizeof message.data));
}

}  // namespace

unsigned MessageForEventChar(int eventChar) {
  switch (eventChar) {
    case 'B':
    case 'E':
    case 'F':
    case 'G':
    case 'X':
    case 'Y': return WM_ECREVENT;
    default: return WM_ECROTHER;
  }
}

Bytes UnhandledEnquiryReply() {
  // The first 13 characters of "Nessun Gestore".
  static constexpr std::string_view kNoHandler = "Nessun Gestor";
  Bytes reply{'N', 0x00};
  for (const char c : kNoHandler) reply.push_back(static_cast<std::uint8_t>(c));
  return reply;
}

Bytes UnhandledInteractReply() { return {'B'}; }

Bytes EmptyInteractReply() { return {0x00}; }

bool IsInteractErrorReply(std::string_view reply) { return !reply.empty() && (reply[0] == 'E' || reply[0] == 'e'); }

Bytes BuildInteractErrorFrame(std::string_view reply) {
  reply = reply.substr(0, kMaxInteractErrorReply);
  const std::size_t n = reply.size();
  Bytes frame{'A', 0x13, static_cast<std::uint8_t>(n + 6), 0x01, 0x80, 'E', 'R', 'R', 0x00};
  for (std::size_t i = 1; i < n; ++i) frame.push_back(static_cast<std::uint8_t>(reply[i]));
  frame.push_back(0x00);
  frame.push_back('8');
  return frame;
}

void TRegisterEvents::HandleMessage(const TEcrMessage& message) {
  const int length = ClampedLength(message);
  switch (message.type) {
    case 'B': DoInteract(message.ecr, message.data, length); break;
    case 'F': DoFileExtEnq(message.ecr, message.data, length); break;
    case 'G': DoFileExtUpd(message.ecr, message.data, length); break;
    case 'X': DoDataX(message.ecr, message.data, length); break;
    case 'Y': DoDataY(message.ecr, message.data, length); break;
    default: break;
  }
}

void TRegisterEvents::QueueToAll(std::int32_t bit, const TClientEvent& record) {
  // Each slot is looked up just before its delivery: a delivery runs client
  // code, during which another slot's client may close or vanish.
  for (int index = 0; index < TClientSlots::kSlotCount; ++index) {
    IClientEventTarget* client = slots_.Client(index);
    if (client && (slots_.Mask(index) & bit)) client->EnqueueEvent(std::make_unique<TClientEvent>(record));
  }
}

void TRegisterEvents::DoDataX(int ecr, const std::uint8_t* data, int length) {
  counters_.Count(TEventCounter::DataCollection);
  TClientEvent record = MakeRecord(ekDataX, ecr);
  record.text = translator_.DataX(ecr, data, length);
  QueueToAll(emDataX, record);
}

void TRegisterEvents::DoDataY(int ecr, const std::uint8_t* data, int length) {
  counters_.Count(TEventCounter::DataCollection);
  TClientEvent record = MakeRecord(ekDataY, ecr);
  record.text = translator_.DataY(ecr, data, length);
  QueueToAll(emDataY, record);
}

void TRegisterEvents::DoFileExtEnq(int ecr, const std::uint8_t* data, int length) {
  counters_.Count(TEventCounter::Enquiry);
  IClientEventTarget* client = slots_.FirstClientWith(emFileExtEnq);
  if (!client) {
    Send(ecr, UnhandledEnquiryReply());
    return;
  }
  auto record = std::make_unique<TClientEvent>(MakeRecord(ekFileExtEnq, ecr));
  translator_.FileExtEnq(ecr, data, length, *record);
  client->EnqueueEvent(std::move(record));
}

void TRegisterEvents::DoFileExtUpd(int ecr, const std::uint8_t* data, int length) {
  counters_.Count(TEventCounter::Enquiry);
  TClientEvent record = MakeRecord(ekFileExtUpd, ecr);
  translator_.FileExtUpd(ecr, data, length, record);
  QueueToAll(emFileExtUpd, record);
}

void TRegisterEvents::DoInteract(int ecr, const std::uint8_t* data, int length) {
  counters_.Count(TEventCounter::Interactivity);
  const std::string text = translator_.Interact(ecr, data, length);
  IClientEventTarget* client = slots_.FirstClientWith(emInteract);
  if (!client) {
    Send(ecr, UnhandledInteractReply());
    return;
  }
  auto record = std::make_unique<TClientEvent>(MakeRecord(ekInteract, ecr));
  record->text = text;
  client->EnqueueEvent(std::move(record));
}

void TRegisterEvents::HandleStatusChange(int value, int detail) {
  counters_.Count(TEventCounter::StatusChange);
  TClientEvent record = MakeRecord(ekStatusChange, value);
  record.number = detail;
  QueueToAll(emStatusChange, record);
}

void TRegisterEvents::ReplyFileExtEnq(const TClientEvent& record) {
  const std::string replyText = record.replyText.substr(0, kMaxReplyText);
  const Bytes reply =
      translator_.ReplyToEnquiry(record.ecr, static_cast<unsigned>(record.replyCode), record.number, replyText);
  // The register waits for an answer even when none could be built.
  Send(record.ecr, reply.empty() ? UnhandledEnquiryReply() : reply);
}

void TRegisterEvents::ReplyInteract(const TClientEvent& record) {
  if (IsInteractErrorReply(record.text)) {
    link_.ExchangeWithRegister(record.ecr, BuildInteractErrorFrame(record.text));
    return;
  }
  if (record.text.empty()) {
    Send(record.ecr, EmptyInteractReply());
    return;
  }
  Send(record.ecr, Bytes(record.text.begin(), record.text.end()));
}

void TRegisterEvents::Send(int ecr, const Bytes& reply) {
  const std::size_t length = std::min(reply.size(), kMaxSendDataBytes);
  if (!link_.SendToRegister(ecr, Bytes(reply.begin(), reply.begin() + static_cast<std::ptrdiff_t>(length))))
    link_.ReportUnsentReply(ecr);
}

}  // namespace ravelin
