#include "host_services.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "device_requests.h"
#include "last_error.h"

namespace prot {
namespace {

constexpr int kVersionMajor = 1;
constexpr int kVersionMinor = 0;
constexpr int kVersionBuild = 11;
constexpr std::uint8_t kStatusFrame[] = {'S'};
constexpr int kStatusAnswerMin = 5;  // 'S' and state, critical code, transaction flags, reserved

HostInfoRecord record;
std::array<std::int32_t, kMaxRegisters + 1> presenceWords;

// Status bytes 1-4 of the register's 'S' answer, or the exchange's result.
int ReadStatusBytes(int ecr, std::array<std::uint8_t, 4>& bytes) {
  std::array<std::uint8_t, kMaxFrame> answer{};
  const ExchangeResult r = Link().Exchange(ecr, 3, kStatusFrame, answer.data(), kMaxFrame);
  if (r.result != kResultAnswered) return r.result;
  if (r.answerLength < kStatusAnswerMin || answer[0] != 'S') return kResultDataError;
  std::memcpy(bytes.data(), answer.data() + 1, bytes.size());
  return kResultAnswered;
}

// Readiness: the first byte of the record is the state byte (bit 2: not ready).
int QUADREL_CALL HostStatus(int ecr, int, void* statusRecord) {
  std::array<std::uint8_t, 4> bytes{};
  const int result = ReadStatusBytes(ecr, bytes);
  if (result == kResultAnswered && statusRecord) std::memcpy(statusRecord, bytes.data(), bytes.size());
  return result;
}

// Extended status: the state byte as the status word and every status byte
// of the register's 'S' answer.
int QUADREL_CALL HostStatusEx(int ecr, int, int* status, int* length, std::uint8_t* buffer) {
  std::array<std::uint8_t, kMaxFrame> answer{};
  const ExchangeResult r = Link().Exchange(ecr, 3, kStatusFrame, answer.data(), kMaxFrame);
  if (r.result != kResultAnswered) return r.result;
  if (r.answerLength < kStatusAnswerMin || answer[0] != 'S') return kResultDataError;
  const int count = std::min(r.answerLength - 1, kHostStatusExBytes);
  if (status) *status = answer[1];
  if (length) *length = count;
  if (buffer) std::memcpy(buffer, answer.data() + 1, static_cast<std::size_t>(count));
  return kResultAnswered;
}

int QUADREL_CALL HostTrace(int level, int, int, const char* text, int, int, int, const char*) {
  Link().Log().Note("trace " + std::to_string(level) + ": " + (text ? text : ""));
  return 0;
}

bool IsDevicePort() {
  return record.protocolType == kDeviceProtocol || record.protocolType == kDeviceProtocolConnecting;
}

void WriteStatus(int* status, int value) {
  if (status) *status = value;
}

}  // namespace

EcrLink& Link() {
  static EcrLink link;
  return link;
}

HostInfoRecord& HostInfo() { return record; }

void PrepareHostInfo(const PortSettings& settings) {
  for (int r = 0; r <= kMaxRegisters; ++r) {
    presenceWords[static_cast<std::size_t>(r)] = settings.present[static_cast<std::size_t>(r)] ? 1 : 0;
  }
  record = HostInfoRecord{};
  record.protocolType = settings.protocolType;
  record.versionMajor = kVersionMajor;
  record.versionMinor = kVersionMinor;
  record.versionBuild = kVersionBuild;
  record.presenceFlags = presenceWords.data();
  record.broadcastIO = HostBroadcastIO;
  record.status = HostStatus;
  record.statusEx = HostStatusEx;
  record.trace = HostTrace;
  record.registerCount = settings.registerCount;
}

int QUADREL_CALL HostBroadcastIO(int mode, const void* frame, int length, int ecrCount, int answerSize,
                                 void* answers, int* answerLengths, int* statusCodes) {
  if (!frame || length < 1 || length > kMaxFrame || !answers || !answerLengths || !statusCodes || answerSize < 0 ||
      ecrCount < 0) {
    return 2;
  }
  if (!Link().IsOpen()) return 1;
  const auto* bytes = static_cast<const std::uint8_t*>(frame);
  const PortSettings& settings = Link().Settings();
  for (int r = 1; r <= std::min(ecrCount, kMaxRegisters); ++r) {
    const int slot = r - 1;
    answerLengths[slot] = 0;
    statusCodes[slot] = 0;
    if (!settings.present[static_cast<std::size_t>(r)]) continue;
    auto* answer = static_cast<std::uint8_t*>(answers) + static_cast<std::size_t>(slot) * answerSize;
    const ExchangeResult result =
        Link().Exchange(r, mode, {bytes, static_cast<std::size_t>(length)}, answer, answerSize);
    answerLengths[slot] = result.answerLength;
    statusCodes[slot] = result.result;
  }
  return 0;
}

// Requests of the translator (arguments a2..a7 of EcrIO; a2 matters only to
// the device requests). What each does in our transport is in README.md.
int ServeRequest(int request, int mode, void* a3, int a4, void* a5, int* a6, int* a7) {
  std::string error;
  switch (request) {
    case ECRIO_GET_INFO:
      if (!a7) return kResultRequestError;
      *reinterpret_cast<HostInfoRecord**>(a7) = &record;
      return kResultAnswered;
    case ECRIO_XFER_BEGIN:
    case ECRIO_ECHO_ON:
    case ECRIO_XFER_END:
    case ECRIO_SETUP_108:
    case ECRIO_SETUP_109:
      // Our frames need no line mode switched around transfers, echo or set-up.
      WriteStatus(a7, 0);
      return kResultAnswered;
    case ECRIO_CONNECT:
    case ECRIO_CONNECT_TIMEOUT:
      if (!Link().Dial(error)) {
        SetLastProtocolError(kErrConnect, error);
        WriteStatus(a7, kErrConnect);
        return kResultNoLine;
      }
      WriteStatus(a7, 0);
      return kResultAnswered;
    case ECRIO_DISCONNECT:
    case ECRIO_HANGUP:
      Link().HangUp();
      WriteStatus(a7, 0);
      return kResultAnswered;
    case ECRIO_XFER_TOTALS:
    case ECRIO_XFER_TABLES:
      if (!IsDevicePort()) break;
      return ServeTransfer(request, mode, static_cast<const char*>(a3), a4, static_cast<const char*>(a5), a7);
    case ECRIO_QUERY:
      if (!IsDevicePort()) break;
      return ServeQuery(static_cast<const char*>(a3), static_cast<char*>(a5), a6, a7);
    default:
      break;
  }
  // Totals and table files and host queries belong to the device ports alone.
  SetLastProtocolError(kErrUnknownRequest, "service request " + std::to_string(request) + " not served");
  return kResultRequestError;
}

}  // namespace prot
