#include "stores/device_services.h"

#include <algorithm>

#include "wire/wire.h"

namespace ecrsim {
namespace {

constexpr int kQueryService = 79;
constexpr std::size_t kWordBytes = 4;
constexpr std::size_t kOpenHeadBytes = 1 + kWordBytes;   // kind, entry word
constexpr std::size_t kQueryHeadBytes = 2 * kWordBytes;  // time-out, entry word

std::int32_t Word(std::span<const std::uint8_t> bytes) {
  return static_cast<std::int32_t>(bytes[0] | (bytes[1] << 8) | (bytes[2] << 16) |
                                   (static_cast<std::uint32_t>(bytes[3]) << 24));
}

ServiceAnswer StatusAnswer(std::int32_t status, std::string_view text = {}) {
  ServiceAnswer answer;
  answer.valid = true;
  const auto word = static_cast<std::uint32_t>(status);
  answer.payload.assign(kWordBytes + text.size(), 0);
  for (std::size_t i = 0; i < kWordBytes; ++i) answer.payload[i] = static_cast<std::uint8_t>(word >> (8 * i));
  std::copy(text.begin(), text.end(), answer.payload.begin() + kWordBytes);
  return answer;
}

}  // namespace

ServiceAnswer DeviceServices::Serve(int service, int step, std::span<const std::uint8_t> payload) {
  using ecrwire::ServiceStep;
  if (service == kQueryService)
    return step == static_cast<int>(ServiceStep::Query) ? Query(payload) : ServiceAnswer{};
  if (service != 77 && service != 78) return {};
  if (step == static_cast<int>(ServiceStep::Open)) {
    if (payload.size() < kOpenHeadBytes) return {};
    if (transfers_.size() >= kMaxKeptTransfers) transfers_.pop_front();
    DeviceTransfer& transfer = transfers_.emplace_back();
    transfer.service = service;
    transfer.kind = payload[0];
    transfer.entryWord = Word(payload.subspan(1));
    transfer.text.assign(payload.begin() + kOpenHeadBytes, payload.end());
    return StatusAnswer(kServiceDone);
  }
  // The other steps belong to the transfer this service opened last, while it is open.
  DeviceTransfer* open = nullptr;
  for (auto it = transfers_.rbegin(); it != transfers_.rend() && !open; ++it)
    if (it->service == service) open = &*it;
  if (!open || open->closed) return StatusAnswer(kServiceNoTransfer);
  switch (static_cast<ServiceStep>(step)) {
    case ServiceStep::Data:
      open->bytes.insert(open->bytes.end(), payload.begin(), payload.end());
      return StatusAnswer(kServiceDone);
    case ServiceStep::Close: {
      open->closed = true;
      const auto status = closingStatus.find(service);
      return StatusAnswer(status == closingStatus.end() ? kServiceDone : status->second);
    }
    case ServiceStep::Abort:
      open->closed = true;
      open->aborted = true;
      return StatusAnswer(kServiceDone);
    default:
      return {};
  }
}

ServiceAnswer DeviceServices::Query(std::span<const std::uint8_t> payload) {
  if (payload.size() < kQueryHeadBytes) return {};
  lastQueryTimeOut = Word(payload);
  lastQueryEntryWord = Word(payload.subspan(4));
  const std::string text(payload.begin() + kQueryHeadBytes, payload.end());
  const auto scripted = queries.find(text);
  if (scripted == queries.end()) return StatusAnswer(kServiceUnknownQuery);
  ServiceAnswer answer = StatusAnswer(scripted->second.status, scripted->second.answer);
  answer.delayMs = scripted->second.delayMs;
  return answer;
}

}  // namespace ecrsim
