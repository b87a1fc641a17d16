// A QR code of 1,000 characters and a 30,000-byte logo, each one command line
// through EcrCmd against the simulated register in this process: the
// translator's time (zint's and the simulator's included) against the wire
// time of the same frames and answers on a 115200 baud 8N1 line ("wire_x").
#include <benchmark/benchmark.h>

#include <fstream>
#include <string>

#include "bench/bench_support.h"
#include "bench/simulated_line.h"
#include "exports/ecr_cmd.h"

namespace {

using bench_support::SimulatedRegisters;

void InitTranslator() {
  static bool done = false;
  if (done) return;
  done = true;
  auto config = ecrsim::BuiltInConfig("t72");
  config->SetFeatureLevel(50, 1);  // logos
  SimulatedRegisters().AddRegister(1, std::move(*config));
  bench_support::InitTranslatorOnSimulator(
      "quadrel_symbol_bench", "[OPCOD]\n22=STAMPA\n55=LOGO\n[22]\n3=TESTO\n8=CODBARRE\n[55]\n2=FILE\n");
}

void RunLine(benchmark::State& state, const std::string& line) {
  InitTranslator();
  char result[1024];
  const bench_support::WireCount before = bench_support::WireSoFar();
  for (auto _ : state) {
    if (EcrCmd(line.c_str(), result) != 0) state.SkipWithError(result);
    SimulatedRegisters().Find(1)->printer.Clear();
    SimulatedRegisters().Find(1)->ClearLog();
  }
  bench_support::ReportWire(state, before);
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
