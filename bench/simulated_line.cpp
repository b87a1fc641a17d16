#include "bench/simulated_line.h"

#include <algorithm>
#include <fstream>

#include "bench/bench_support.h"
#include "exports/ecr_cmd.h"
#include "exports/translator_entry.h"
#include "interfaces/host_info.h"

namespace bench_support {
namespace {

ecrsim::Simulator simulator;
HostInfoRecord hostInfo;
WireCount wire;

int QUADREL_CALL SimulatedHost(int ecrOrRequest, int, void* frame, void* length, void* answer,
                               void* answerLength, void* detail) {
  if (ecrOrRequest == ECRIO_GET_INFO) {
    *static_cast<HostInfoRecord**>(detail) = &hostInfo;
    return 0;
  }
  if (ecrOrRequest < 0) return 0;
  const auto size = static_cast<std::size_t>(IntFromArgument(length));
  const ecrsim::Reply reply =
      simulator.Exchange(ecrOrRequest, {static_cast<const std::uint8_t*>(frame), size});
  std::copy(reply.answer.begin(), reply.answer.end(), static_cast<std::uint8_t*>(answer));
  *static_cast<std::int32_t*>(answerLength) = static_cast<std::int32_t>(reply.answer.size());
  *static_cast<std::int32_t*>(detail) = reply.detail;
  wire.Add(size, reply.answer.size());
  return reply.answered ? reply.hostResult : 4;
}

void QUADREL_CALL NoProgress(int, int, int, const char*, int*) {}

}  // namespace

ecrsim::Simulator& SimulatedRegisters() {
  return simulator;
}

void InitTranslatorOnSimulator(const char* folder, const std::string& definitions) {
  const auto ini = WorkFolder(folder) / "tallis.ini";
  std::ofstream(ini) << definitions;
  quadrel::AttachTranslator();
  hostInfo = HostInfoRecord{};
  hostInfo.protocolType = 3;  // one register on the line
  TradInit(ini.string().c_str(), 0, NoProgress, SimulatedHost);
}

WireCount WireSoFar() {
  return wire;
}

void ReportWire(benchmark::State& state, const WireCount& before) {
  const double iterations = static_cast<double>(state.iterations());
  const double bytes = static_cast<double>(wire.bytes - before.bytes);
  state.counters["frames"] = static_cast<double>(wire.frames - before.frames) / iterations;
  state.counters["wire_ms"] = bytes / iterations / kWireBytesPerSecond * 1e3;
  state.counters["wire_x"] = benchmark::Counter(bytes / kWireBytesPerSecond, benchmark::Counter::kIsRate);
}

}  // namespace bench_support
