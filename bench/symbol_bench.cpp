// A QR code of 1,000 characters and a 30,000-byte logo, each one command line
// through EcrCmd against the simulated register in this process: the
// translator's time (zint's and the simulator's included) against the wire
// time of the same frames and answers on a 115200 baud 8N1 line ("wire_x").
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include "bench/bench_support.h"
#include "exports/ecr_cmd.h"
#include "exports/translator_entry.h"
#include "interfaces/host_info.h"
#include "simulator.h"

namespace {


ecrsim::Simulator simulator;
HostInfoRecord hostInfo;
std::int64_t wireBytes = 0;
std::int64_t frames = 0;

int QUADREL_CALL SimulatedRegister(int ecrOrRequest, int, void* frame, void* length, void* answer,
                                   void* answerLength, void* detail) {
  if (ecrOrRequest == ECRIO_GET_INFO) {
    *static_cast<HostInfoRecord**>(detail) = &hostInfo;
    return 0;
  }
  if (ecrOrRequest < 0) return 0;
  const auto size = static_cast<std::size_t>(IntFromArgument(length));
  const ecrsim::Reply reply = simulator.Exchange(ecrOrRequest, {static_cast<const std::uint8_t*>(frame), size});
  std::copy(reply.answer.begin(), reply.answer.end(), static_cast<std::uint8_t*>(answer));
  *static_cast<std::int32_t*>(answerLength) = static_cast<std::int32_t>(reply.answer.size());
  *static_cast<std::int32_t*>(detail) = reply.detail;
  wireBytes += static_cast<std::int64_t>(size + reply.answer.size());
  ++frames;
  return reply.answered ? reply.hostResult : 4;
}

void QUADREL_CALL NoProgress(int, int, int, const char*, int*) {}

void InitTranslator() {
  static bool done = false;
  if (done) return;
  done = true;
  auto config = ecrsim::BuiltInConfig("t72");
  config->SetFeatureLevel(50, 1);  // logos
  simulator.AddRegister(1, std::move(*config));
  const auto ini = bench_support::WorkFolder("quadrel_symbol_bench") / "tallis.ini";
  std::ofstream(ini) << "[OPCOD]\n22=STAMPA\n55=LOGO\n[22]\n3=TESTO\n8=CODBARRE\n[55]\n2=FILE\n";
  quadrel::AttachTranslator();
  hostInfo = HostInfoRecord{};
  hostInfo.protocolType = 3;
  TradInit(ini.string().c_str(), 0, NoProgress, SimulatedRegister);
}

void RunLine(benchmark::State& state, const std::string& line) {
  InitTranslator();
  char result[1024];
  const std::int64_t bytesBefore = wireBytes, framesBefore = frames;
  for (auto _ : state) {
    if (EcrCmd(line.c_str(), result) != 0) state.SkipWithError(result);
    simulator.Find(1)->printer.Clear();
    simulator.Find(1)->ClearLog();
  }
  const double iterations = static_cast<double>(state.iterations());
  state.counters["frames"] = static_cast<double>(frames - framesBefore) / iterations;
  state.counters["wire_ms"] = static_cast<double>(wireBytes - bytesBefore) / iterations / bench_support::kWireBytesPerSecond * 1e3;
  state.counters["wire_x"] = benchmark::Counter(static_cast<double>(wireBytes - bytesBefore) / bench_support::kWireBytesPerSecond,
                                                benchmark::Counter::kIsRate);
}

void BM_QrCode1000(benchmark::State& state) {
  std::string data;
  for (int i = 0; data.size() < 1000; ++i) data += "RIGA " + std::to_string(i) + " EUR 12,50;";
  data.resize(1000);
  RunLine(state, "STAMPA TESTO='" + data + "', CODBARRE=158");
}
BENCHMARK(BM_QrCode1000)->Unit(benchmark::kMillisecond);

void BM_Logo30000(benchmark::State& state) {
  const auto file = bench_support::WorkFolder("quadrel_symbol_bench") / "logo.bin";
  std::string logo(30000, '\0');
  for (std::size_t i = 0; i < logo.size(); ++i) logo[i] = static_cast<char>(i * 31);
  std::ofstream(file, std::ios::binary) << logo;
  RunLine(state, "LOGO FILE='" + file.string() + "'");
}
BENCHMARK(BM_Logo30000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
