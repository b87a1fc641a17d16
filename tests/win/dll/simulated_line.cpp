#include "dll/simulated_line.h"

#include <algorithm>
#include <cstdint>

namespace {

void __stdcall IgnoreProgress(int, int, int, const char*, int*) {}

}  // namespace

int SimulatedLine::Init(QuadrelExports& quadrel, const char* ini) {
  return quadrel.TradInit(ini, 0, IgnoreProgress, IO);
}

int __stdcall SimulatedLine::IO(int ecrOrRequest, int, void* frame, void* length, void* answer,
                                void* answerLength, void* detail) {
  if (ecrOrRequest == ECRIO_GET_INFO) {
    *static_cast<HostInfoRecord**>(detail) = &hostInfo;
    return 0;
  }
  if (ecrOrRequest < 0) return 0;
  const auto* bytes = static_cast<const std::uint8_t*>(frame);
  const auto count = static_cast<std::size_t>(IntFromArgument(length));
  const ecrsim::Reply reply = simulator->Exchange(ecrOrRequest, {bytes, count});
  if (!reply.answered) return 4;
  std::copy(reply.answer.begin(), reply.answer.end(), static_cast<std::uint8_t*>(answer));
  *static_cast<std::int32_t*>(answerLength) = static_cast<std::int32_t>(reply.answer.size());
  *static_cast<std::int32_t*>(detail) = reply.detail;
  return reply.hostResult;
}
