// The programming-table dump of a filled register (files 1-4, 6-9 and 11 with
// session lines) replayed as one batch into a fresh register, end to end: the
// translator through its EcrCmd export, a host in this process and the
// register simulator. "wire_x" compares the time with the same frames and
// answers on a 115200 baud 8N1 line.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "bench/bench_support.h"
#include "bench/simulated_line.h"
#include "exports/ecr_cmd.h"
#include "tests/support/sample_tables.h"

namespace {

using bench_support::SimulatedRegisters;

int Run(const std::string& line) {
  char text[1024];
  return EcrCmd(line.c_str(), text);
}

void FreshRegister(const ecrsim::RegisterConfig& config) {
  SimulatedRegisters().RemoveRegister(1);
  SimulatedRegisters().AddRegister(1, config);
}

// Register 1 filled with the sample's tables and dumped into `dump`; false
// when a line fails.
bool FillAndDump(const quadrel_test::SampleTables& sample, const std::string& dump) {
  static const bool initialised = [] {
    std::ostringstream definitions;
    definitions << std::ifstream(QUADREL_SHIPPED_DEFINITIONS).rdbuf();
    bench_support::InitTranslatorOnSimulator("quadrel_table_bench", definitions.str());
    return true;
  }();
  FreshRegister(sample.config());
  if (!initialised || Run("SELEZIONA CASSA=1") != 0) return false;
  for (const char* line : sample.lines)
    if (Run(line) != 0) return false;
  std::remove(dump.c_str());
  for (const std::string& line : quadrel_test::SampleTableDumpLines(dump))
    if (Run(line) != 0) return false;
  return true;
}

// One iteration: the replay of the whole dump into a register that holds none of it.
void BM_TableDumpReplay(benchmark::State& state) {
  const quadrel_test::SampleTables sample =
      quadrel_test::AllSampleTables().at(static_cast<std::size_t>(state.range(0)));
  state.SetLabel(sample.name);
  const std::string dump = (bench_support::WorkFolder("quadrel_table_bench") / "tables.txt").string();
  if (!FillAndDump(sample, dump)) {
    state.SkipWithError("filling or dumping the tables failed");
    return;
  }
  const ecrsim::RegisterConfig config = sample.config();
  const bench_support::WireCount before = bench_support::WireSoFar();
  for (auto _ : state) {
    state.PauseTiming();
    FreshRegister(config);
    state.ResumeTiming();
    if (Run("@" + dump) != 0) state.SkipWithError("the replay failed");
  }
  bench_support::ReportWire(state, before);
}
BENCHMARK(BM_TableDumpReplay)->DenseRange(0, 1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
