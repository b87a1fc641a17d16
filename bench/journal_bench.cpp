// The signed journal export of a 5,000-line closure, one command line through
// EcrCmd against the simulated register in this process: reading the journal
// block by block, writing the text file and its SHA-1 checksum, against the
// wire time of the same frames and answers on a 115200 baud 8N1 line.
#include <benchmark/benchmark.h>

#include <fstream>
#include <sstream>
#include <string>

#include "bench/bench_support.h"
#include "bench/simulated_line.h"
#include "exports/ecr_cmd.h"

namespace {

constexpr int kJournalLines = 5000;
constexpr int kJournalReadFeature = 72;  // 2: by closure numbers too

void InitTranslator() {
  static bool done = false;
  if (done) return;
  done = true;
  auto config = ecrsim::BuiltInConfig("t72");
  config->SetText(ecrsim::Area::Identity, 69, 8, "2000A35 ");  // a model-2 register
  config->SetFeatureLevel(kJournalReadFeature, 2);
  ecrsim::Simulator& registers = bench_support::SimulatedRegisters();
  registers.AddRegister(1, std::move(*config));
  ecrsim::Journal& journal = registers.Find(1)->journal;
  for (int line = 0; line < kJournalLines; ++line) {
    if (line % 25 == 0) journal.BeginDocument(line / 25 + 1);
    journal.Record("ARTICOLO " + std::to_string(line) + "                      1,00");
    if (line % 25 == 24) journal.EndDocument();
  }
  std::ifstream shipped(QUADREL_SHIPPED_DEFINITIONS, std::ios::binary);
  std::stringstream definitions;  // command 72's fields up to #19
  definitions << shipped.rdbuf();
  bench_support::InitTranslatorOnSimulator("quadrel_journal_bench", definitions.str());
}

void BM_JournalExport5000(benchmark::State& state) {
  InitTranslator();
  const std::string line =
      "#76 #1=1, #2='" + bench_support::WorkFolder("quadrel_journal_bench").string() + "/'";
  char result[1024];
  const bench_support::WireCount before = bench_support::WireSoFar();
  for (auto _ : state) {
    if (EcrCmd(line.c_str(), result) != 0) state.SkipWithError(result);
  }
  bench_support::ReportWire(state, before);
}
BENCHMARK(BM_JournalExport5000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
