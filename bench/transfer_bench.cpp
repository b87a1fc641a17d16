// A download and an upload of 10,000 articles ("DA" and "UA" of command 30)
// and the dump of the register's memory image (file 9999 of command 3), end
// to end: the translator through its EcrCmd export, a host in this process,
// and the register simulator. "wire_x" compares the time with the same frames
// and answers on a 115200 baud 8N1 line.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <fstream>
#include <string>

#include "bench/bench_support.h"
#include "bench/simulated_line.h"
#include "exports/ecr_cmd.h"

namespace {

constexpr int kArticles = 10000;

using bench_support::SimulatedRegisters;

// Register 1 with 10,000 articles of distinct codes.
void FillRegister() {
  SimulatedRegisters().AddRegister(1, *ecrsim::BuiltInConfig("t72"));
  ecrsim::SimRegister& reg = *SimulatedRegisters().Find(1);
  const auto geometry = ecrsim::RecordGeometry::Of(reg.Config());
  for (int i = 0; i < kArticles; ++i) {
    std::string code = std::to_string(1000000 + i);
    code.resize(static_cast<std::size_t>(geometry.codeBytes), ' ');
    ecrsim::RecordBytes body(static_cast<std::size_t>(geometry.ArticleBodyBytes()), 0x11);
    std::fill_n(body.begin(), geometry.descriptionBytes, 'A' + i % 26);
    body[static_cast<std::size_t>(geometry.descriptionBytes) + 5] =
        2;  // a class digit an upload line can give
    reg.records.articles[{code.begin(), code.end()}] = body;
  }
}

// Register 1 with its article file filled and the translator initialised, once.
void Prepare() {
  static bool done = false;
  if (done) return;
  done = true;
  FillRegister();
  bench_support::InitTranslatorOnSimulator(
      "quadrel_transfer_bench",
      "[OPCOD]\n3=SCARICA\n30=TRASFER\n51=ARTICOLO\n[3]\n1=ARCHIVIO\n2=NOMEFILE\n"
      "[30]\n1=MODO\n2=FILE\n4=AZZERA\n");
}

// Runs `line` once an iteration and reports the wire time of one run's frames.
void RunTransfer(benchmark::State& state, const std::string& line) {
  char text[256];
  bench_support::WireCount before;
  for (auto _ : state) {
    before = bench_support::WireSoFar();
    benchmark::DoNotOptimize(EcrCmd(line.c_str(), text));
  }
  state.SetLabel(text);
  const bench_support::WireCount after = bench_support::WireSoFar();
  const double bytesPerRun = static_cast<double>(after.bytes - before.bytes);
  state.counters["frames_per_item"] = static_cast<double>(after.frames - before.frames) / kArticles;
  state.counters["wire_bytes_per_item"] = bytesPerRun / kArticles;
  state.SetItemsProcessed(static_cast<std::int64_t>(kArticles) * state.iterations());
  state.counters["wire_x"] = benchmark::Counter(
      bytesPerRun / bench_support::kWireBytesPerSecond * static_cast<double>(state.iterations()),
      benchmark::Counter::kIsRate);
}

const std::string kDownloadFile =
    (bench_support::WorkFolder("quadrel_transfer_bench") / "articles.txt").string();

void BM_DownloadArticles10k(benchmark::State& state) {
  Prepare();
  RunTransfer(state, "TRASFER MODO='DA', FILE='" + kDownloadFile + "'");
}
BENCHMARK(BM_DownloadArticles10k)->Unit(benchmark::kMillisecond);

// The download's lines, each led by "I", loaded into the emptied file.
void BM_UploadArticles10k(benchmark::State& state) {
  Prepare();
  const auto upload = bench_support::WorkFolder("quadrel_transfer_bench") / "upload.txt";
  {
    char text[256];
    EcrCmd(("TRASFER MODO='DA', FILE='" + kDownloadFile + "'").c_str(), text);
    std::ifstream in(kDownloadFile);
    std::ofstream out(upload, std::ios::binary);
    for (std::string line; std::getline(in, line);) out << "I," << line << "\n";
  }
  RunTransfer(state, "TRASFER MODO='UA', FILE='" + upload.string() + "', AZZERA");
}
BENCHMARK(BM_UploadArticles10k)->Unit(benchmark::kMillisecond);

// The register's whole memory image (file 9999 of command 3): 32,768 reads of
// 16 bytes, one line each.
void BM_MemoryImage9999(benchmark::State& state) {
  Prepare();
  const std::string line = "SCARICA ARCHIVIO=9999, NOMEFILE='" +
                           (bench_support::WorkFolder("quadrel_transfer_bench") / "memory.txt").string() +
                           "'";
  char text[256];
  const bench_support::WireCount before = bench_support::WireSoFar();
  for (auto _ : state) {
    if (EcrCmd(line.c_str(), text) != 0) state.SkipWithError(text);
  }
  bench_support::ReportWire(state, before);
}
BENCHMARK(BM_MemoryImage9999)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
