#include "wire/wire.h"

#include <algorithm>

namespace ecrwire {
namespace {

constexpr std::size_t kPrefixBytes = 3;   // start byte and body length
constexpr std::size_t kTrailerBytes = 2;  // CRC

bool KnownType(std::uint8_t type) {
  return type >= 1 && type <= 4;
}

}  // namespace

std::uint16_t Crc16(std::span<const std::uint8_t> bytes) {
  std::uint16_t crc = 0xFFFF;
  for (std::uint8_t byte : bytes) {
    crc ^= static_cast<std::uint16_t>(byte << 8);
    for (int bit = 0; bit < 8; ++bit) {
      crc = static_cast<std::uint16_t>(crc & 0x8000 ? (crc << 1) ^ 0x1021 : crc << 1);
    }
  }
  return crc;
}

bool Encode(const Message& message, std::vector<std::uint8_t>& out) {
  if (message.payload.size() > kMaxPayload) return false;
  std::vector<std::uint8_t> body = {
      static_cast<std::uint8_t>(message.type),     message.ecr,  static_cast<std::uint8_t>(message.seq),
      static_cast<std::uint8_t>(message.seq >> 8), message.code, message.detail};
  body.insert(body.end(), message.payload.begin(), message.payload.end());
  const std::uint16_t crc = Crc16(body);
  out.push_back(kMagic);
  out.push_back(static_cast<std::uint8_t>(body.size()));
  out.push_back(static_cast<std::uint8_t>(body.size() >> 8));
  out.insert(out.end(), body.begin(), body.end());
  out.push_back(static_cast<std::uint8_t>(crc));
  out.push_back(static_cast<std::uint8_t>(crc >> 8));
  return true;
}

void Decoder::Feed(std::span<const std::uint8_t> bytes) {
  buffer_.insert(buffer_.end(), bytes.begin(), bytes.end());
}

Decoder::Result Decoder::Next(Message& message, std::string& reason) {
  const auto start = std::find(buffer_.begin(), buffer_.end(), kMagic);
  if (start != buffer_.begin()) {
    reason = std::to_string(start - buffer_.begin()) + " bytes outside any message";
    buffer_.erase(buffer_.begin(), start);
    return Result::Dropped;
  }
  if (buffer_.size() < kPrefixBytes) return Result::NeedMore;
  const std::size_t bodyBytes = buffer_[1] | (buffer_[2] << 8);
  if (bodyBytes < kFixedBodyBytes || bodyBytes > kFixedBodyBytes + kMaxPayload) {
    reason = "impossible body length " + std::to_string(bodyBytes);
    buffer_.erase(buffer_.begin());
    return Result::Dropped;
  }
  const std::size_t total = kPrefixBytes + bodyBytes + kTrailerBytes;
  if (buffer_.size() < total) return Result::NeedMore;

  const std::span<const std::uint8_t> body(buffer_.data() + kPrefixBytes, bodyBytes);
  const std::uint16_t crc = buffer_[kPrefixBytes + bodyBytes] | (buffer_[kPrefixBytes + bodyBytes + 1] << 8);
  if (Crc16(body) != crc) {
    reason = "checksum mismatch";
    buffer_.erase(buffer_.begin());
    return Result::Dropped;
  }
  if (!KnownType(body[0])) {
    reason = "unknown message type " + std::to_string(body[0]);
    buffer_.erase(buffer_.begin(), buffer_.begin() + total);
    return Result::Dropped;
  }
  message.type = static_cast<MessageType>(body[0]);
  message.ecr = body[1];
  message.seq = static_cast<std::uint16_t>(body[2] | (body[3] << 8));
  message.code = body[4];
  message.detail = body[5];
  message.payload.assign(body.begin() + kFixedBodyBytes, body.end());
  buffer_.erase(buffer_.begin(), buffer_.begin() + total);
  return Result::Message;
}

}  // namespace ecrwire
