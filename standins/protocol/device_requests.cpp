#include "device_requests.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "host_services.h"
#include "interfaces/host_info.h"
#include "last_error.h"

namespace prot {
namespace {

using ecrwire::ServiceStep;
using Bytes = std::vector<std::uint8_t>;

constexpr std::size_t kWordBytes = 4;
constexpr std::size_t kOpenHeadBytes = 1 + kWordBytes;
constexpr std::size_t kQueryHeadBytes = 2 * kWordBytes;
constexpr int kPercent = 100;

// The progress function the translator hands over in a2 (a pointer in the 32-bit ABI).
using RequestProgressProc = void(QUADREL_CALL*)(int count, int percent, int* abort);

RequestProgressProc ProgressOf(int mode) {
  return reinterpret_cast<RequestProgressProc>(static_cast<std::intptr_t>(mode));
}

void AppendWord(Bytes& out, std::int32_t value) {
  const auto word = static_cast<std::uint32_t>(value);
  for (std::size_t i = 0; i < kWordBytes; ++i) out.push_back(static_cast<std::uint8_t>(word >> (8 * i)));
}

bool ReadWholeFile(const char* name, Bytes& bytes) {
  std::FILE* file = std::fopen(name, "rb");
  if (!file) return false;
  std::uint8_t chunk[4096];
  std::size_t n = 0;
  while ((n = std::fread(chunk, 1, sizeof chunk, file)) > 0) bytes.insert(bytes.end(), chunk, chunk + n);
  const bool failed = std::ferror(file) != 0;
  std::fclose(file);
  return !failed;
}

// One step of a service: EcrIO's result, and the device's status word in `status`.
struct StepResult {
  int result = kResultAnswered;
  std::int32_t status = 0;
  Bytes rest;  // what follows the status word
};

StepResult Step(int service, ServiceStep step, const Bytes& payload, int timeoutMs) {
  Bytes answer;
  const ExchangeResult r = Link().ServiceExchange(kDeviceEcr, service, step, payload, timeoutMs, answer);
  if (r.result != kResultAnswered) {
    SetLastProtocolError(r.result == kResultTimeOut ? kErrTimeOut : kErrRegister,
                         "service " + std::to_string(service) + " step " +
                             std::to_string(static_cast<int>(step)) + " ended with result " +
                             std::to_string(r.result));
    return {r.result, 0, {}};
  }
  if (answer.size() < kWordBytes) return {kResultAnswered, kServiceMalformedAnswer, {}};
  std::int32_t status = 0;
  std::memcpy(&status, answer.data(), kWordBytes);
  return {kResultAnswered, status, Bytes(answer.begin() + kWordBytes, answer.end())};
}

}  // namespace

// Opens the transfer, sends the file in pieces with a progress report after
// each (a stop from the progress function aborts it), and closes it.
int ServeTransfer(int request, int mode, const char* text, int kind, const char* fileName,
                  std::int32_t* status) {
  if (!status) return kResultRequestError;
  const int service = -request;
  const int timeoutMs = Link().Settings().answerTimeoutMs;
  const std::string hostText = text ? text : "";
  Bytes file;
  if (fileName && *fileName && !ReadWholeFile(fileName, file)) {
    *status = kServiceFileUnreadable;
    return kResultAnswered;
  }
  if (hostText.size() > ecrwire::kMaxPayload - kOpenHeadBytes) {
    *status = kServiceTextTooLong;
    return kResultAnswered;
  }
  Bytes open = {static_cast<std::uint8_t>(kind)};
  AppendWord(open, *status);
  open.insert(open.end(), hostText.begin(), hostText.end());
  StepResult step = Step(service, ServiceStep::Open, open, timeoutMs);
  if (step.result != kResultAnswered || step.status != 0) {
    *status = step.status;
    return step.result;
  }
  const RequestProgressProc progress = ProgressOf(mode);
  for (std::size_t sent = 0; sent < file.size();) {
    const std::size_t piece = std::min(ecrwire::kMaxPayload, file.size() - sent);
    step =
        Step(service, ServiceStep::Data, Bytes(file.begin() + sent, file.begin() + sent + piece), timeoutMs);
    if (step.result != kResultAnswered || step.status != 0) {
      *status = step.status;
      return step.result;
    }
    sent += piece;
    int abort = 0;
    if (progress) progress(static_cast<int>(sent), static_cast<int>(sent * kPercent / file.size()), &abort);
    if (abort == 1) {
      step = Step(service, ServiceStep::Abort, {}, timeoutMs);
      *status = kServiceStopped;
      return step.result;
    }
  }
  step = Step(service, ServiceStep::Close, {}, timeoutMs);
  *status = step.status;
  return step.result;
}

// The device answers within the query's time-out or not at all; its answer
// is written bounded and terminated into the host's answer buffer.
int ServeQuery(const char* text, char* answer, const std::int32_t* timeOut, std::int32_t* status) {
  if (!answer || !timeOut || !status || *timeOut < 0) return kResultRequestError;
  const std::string query = text ? text : "";
  if (query.size() > ecrwire::kMaxPayload - kQueryHeadBytes) {
    *status = kServiceTextTooLong;
    return kResultAnswered;
  }
  Bytes payload;
  AppendWord(payload, *timeOut);
  AppendWord(payload, *status);
  payload.insert(payload.end(), query.begin(), query.end());
  const StepResult step = Step(-ECRIO_QUERY, ServiceStep::Query, payload, *timeOut);
  if (step.result != kResultAnswered) return step.result;
  const std::size_t length = std::min(step.rest.size(), kHostQueryAnswerBytes - 1);
  std::memcpy(answer, step.rest.data(), length);
  answer[length] = '\0';
  *status = step.status;
  return kResultAnswered;
}

}  // namespace prot
