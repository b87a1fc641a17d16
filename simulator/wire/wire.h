// Our wire format between a host's link and a register on TCP: every message is
//   0xE5, body length (2 bytes, little-endian), body, CRC-16 of the body (2 bytes, little-endian)
// and the body is
//   type (1), register number (1), sequence number (2, little-endian), code (1), detail (1), payload (0-512).
// A request carries the exchange mode as its code and the frame as payload; its
// answer echoes register and sequence number and carries the link's result
// (0, or 1/2/4 with a detail, 8 refused, 32 critical state) and the register's
// answer. Events are unsolicited: code = event kind, payload = the message.
// The CRC is CRC-16/CCITT-FALSE (polynomial 0x1021, initial value 0xFFFF).
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace ecrwire {

constexpr std::uint8_t kMagic = 0xE5;
constexpr std::size_t kFixedBodyBytes = 6;
constexpr std::size_t kMaxPayload = 512;
constexpr std::size_t kMaxMessageBytes = 3 + kFixedBodyBytes + kMaxPayload + 2;

// A service carries a host service request to the device behind a port (code:
// the request without its sign; detail: the step, ServiceStep); its answer is an
// Answer whose payload starts with the device's status word (4 bytes, little-endian).
enum class MessageType : std::uint8_t { Request = 1, Answer = 2, Event = 3, Service = 4 };

// Steps of a service. A transfer opens (payload: kind, entry word (4 bytes,
// little-endian), the host's text), carries the file's bytes in data steps,
// and closes or aborts; a query is one step (payload: time-out in ms (4),
// entry word (4), the query text) answered with the status and the answer text.
enum class ServiceStep : std::uint8_t { Open = 0, Data = 1, Close = 2, Abort = 3, Query = 4 };

struct Message {
  MessageType type = MessageType::Request;
  std::uint8_t ecr = 0;
  std::uint16_t seq = 0;
  std::uint8_t code = 0;
  std::uint8_t detail = 0;
  std::vector<std::uint8_t> payload;
};

std::uint16_t Crc16(std::span<const std::uint8_t> bytes);

// Appends the encoded message to `out`; false (nothing appended) when the payload is too long.
bool Encode(const Message& message, std::vector<std::uint8_t>& out);

// Turns a byte stream into messages. Damaged input is skipped: bytes before a
// start byte, impossible lengths, checksum mismatches (the search resumes one
// byte after the bad start) and unknown types each give one Dropped result
// with the reason, so the caller can log it. Call Next until NeedMore after
// every Feed; the buffer then never holds more than one message and what came
// with the last Feed.
class Decoder {
 public:
  enum class Result { Message, NeedMore, Dropped };

  void Feed(std::span<const std::uint8_t> bytes);
  Result Next(Message& message, std::string& reason);
  std::size_t Buffered() const { return buffer_.size(); }

 private:
  std::vector<std::uint8_t> buffer_;
};

}  // namespace ecrwire
