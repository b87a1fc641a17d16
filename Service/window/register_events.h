// Register events: which window message a received message becomes, how each
// event is translated and queued for the clients that want it, and the fixed
// answers the register gets when no client wants an event that needs one.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "client_events.h"
#include "interfaces/protocol_library.h"
#include "window/client_slots.h"

namespace ravelin {

using Bytes = std::vector<std::uint8_t>;

// WM_ECREVENT for the characters the window handles or accepts ('B', 'E', 'F',
// 'G', 'X', 'Y'), WM_ECROTHER for any other.
unsigned MessageForEventChar(int eventChar);

// The answer to an enquiry that no client takes: 'N', 0, "Nessun Gestor".
Bytes UnhandledEnquiryReply();
// The answer to an interactivity that no client takes.
Bytes UnhandledInteractReply();

// An interactivity reply starting with 'E' or 'e' is an error: it goes to the
// register as an error frame carrying the rest of the reply.
bool IsInteractErrorReply(std::string_view reply);
// The most bytes the protocol library sends to the register in one frame;
// a longer reply is cut to it.
inline constexpr std::size_t kMaxSendDataBytes = 512;
// What an empty interactivity reply becomes: the empty text with its
// terminator, since the link sends no frame without data.
Bytes EmptyInteractReply();

// The longest reply whose error frame length still fits its length byte.
inline constexpr std::size_t kMaxInteractErrorReply = 255 - 6;
// 'A', 0x13, n + 6, 0x01, 0x80, "ERR", 0, reply[1..], 0, '8' for a reply of n
// characters; a longer reply is cut to kMaxInteractErrorReply first.
Bytes BuildInteractErrorFrame(std::string_view reply);

// The translator's event exports, as the event handlers call them.
class IEventTranslator {
 public:
  virtual std::string DataX(int ecr, const std::uint8_t* data, int length) = 0;
  virtual std::string DataY(int ecr, const std::uint8_t* data, int length) = 0;
  virtual std::string Interact(int ecr, const std::uint8_t* data, int length) = 0;
  // Fills record.number (status), record.text (code) and record.value1.
  virtual void FileExtEnq(int ecr, const std::uint8_t* data, int length, TClientEvent& record) = 0;
  // Fills record.number (status), record.text (code), record.value1 and record.value2.
  virtual void FileExtUpd(int ecr, const std::uint8_t* data, int length, TClientEvent& record) = 0;
  // The reply frame to an enquiry from the client's answer.
  virtual Bytes ReplyToEnquiry(int ecr, unsigned replyCode, int status, const std::string& replyText) = 0;

 protected:
  ~IEventTranslator() = default;
};

// The line to the register, for answers.
class IRegisterLink {
 public:
  // SendData; true when sent.
  virtual bool SendToRegister(int ecr, const Bytes& data) = 0;
  // A frame exchanged with EcrIO (mode 3); the answer is not looked at.
  virtual void ExchangeWithRegister(int ecr, const Bytes& frame) = 0;
  // An answer SendToRegister could not send: the register goes without it.
  virtual void ReportUnsentReply(int ecr) = 0;

 protected:
  ~IRegisterLink() = default;
};

// The window's counters of events seen.
enum class TEventCounter { DataCollection, Enquiry, Interactivity, StatusChange };
class IEventCounters {
 public:
  virtual void Count(TEventCounter counter) = 0;

 protected:
  ~IEventCounters() = default;
};

class TRegisterEvents final : public IEventReplies {
 public:
  TRegisterEvents(IEventTranslator& translator, IRegisterLink& link, const TClientSlots& slots,
                  IEventCounters& counters)
      : translator_(translator), link_(link), slots_(slots), counters_(counters) {}

  // A message fetched with GetEcrMessage, by its type; types nobody handles are dropped.
  void HandleMessage(const TEcrMessage& message);
  // The line's status changed (network-change callback).
  void HandleStatusChange(int value, int detail);

  void ReplyFileExtEnq(const TClientEvent& record) override;
  void ReplyInteract(const TClientEvent& record) override;

 private:
  void DoDataX(int ecr, const std::uint8_t* data, int length);
  void DoDataY(int ecr, const std::uint8_t* data, int length);
  void DoFileExtEnq(int ecr, const std::uint8_t* data, int length);
  void DoFileExtUpd(int ecr, const std::uint8_t* data, int length);
  void DoInteract(int ecr, const std::uint8_t* data, int length);
  void QueueToAll(std::int32_t bit, const TClientEvent& record);
  // Sends a reply, cut to what the link takes; a failure is reported.
  void Send(int ecr, const Bytes& reply);

  IEventTranslator& translator_;
  IRegisterLink& link_;
  const TClientSlots& slots_;
  IEventCounters& counters_;
};

}  // namespace ravelin
