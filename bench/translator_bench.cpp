// Translator time against wire time. The host answers every frame at once
// with an idle 'S' status, so what is measured is the translator alone; each
// benchmark also reports "wire_x": how many times faster the translator is
// than the same frames would take on a 115200 baud 8N1 line.
#include <benchmark/benchmark.h>

#include <array>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "bench/bench_support.h"
#include "exports/ecr_cmd.h"
#include "exports/translator_entry.h"
#include "interfaces/host_info.h"
#include "language/number_helpers.h"
#include "link/frame_exchange.h"
#include "link/key_batch.h"
#include "run/key_batch_sender.h"

namespace {

constexpr std::array<std::uint8_t, 7> kIdleStatus = {'S', 1, 0, 0, 0, 1, 0};

HostInfoRecord hostInfo;
std::int64_t framesSeen = 0;

int QUADREL_CALL NullHost(int ecrOrRequest, int, void*, void*, void* answer, void* answerLength,
                          void* detail) {
  if (ecrOrRequest == ECRIO_GET_INFO) {
    *static_cast<HostInfoRecord**>(detail) = &hostInfo;
    return 0;
  }
  if (ecrOrRequest < 0) return 0;
  ++framesSeen;
  std::memcpy(answer, kIdleStatus.data(), kIdleStatus.size());
  *static_cast<std::int32_t*>(answerLength) = static_cast<std::int32_t>(kIdleStatus.size());
  return 0;
}

void QUADREL_CALL NoProgress(int, int, int, const char*, int*) {}

// A translator initialised once with a definitions file of its own.
void InitTranslator() {
  static bool done = false;
  if (done) return;
  done = true;
  const auto ini = bench_support::WorkFolder("quadrel_bench") / "tallis.ini";
  std::ofstream(ini) << "[OPCOD]\n4=NULLA\n29=SLAVE\n[29]\n1=ON\n2=OFF\n";
  quadrel::AttachTranslator();
  hostInfo = HostInfoRecord{};
  hostInfo.protocolType = 3;
  TradInit(ini.string().c_str(), 0, NoProgress, NullHost);
}

// Items per second, frames per item (to show what was exchanged) and wire_x.
void ReportWire(benchmark::State& state, std::int64_t framesBefore, double wireBytesPerIteration,
                double itemsPerIteration) {
  const double items = itemsPerIteration * static_cast<double>(state.iterations());
  state.counters["frames_per_item"] = static_cast<double>(framesSeen - framesBefore) / items;
  state.SetItemsProcessed(static_cast<std::int64_t>(itemsPerIteration * state.iterations()));
  state.counters["wire_x"] = benchmark::Counter(
      wireBytesPerIteration / bench_support::kWireBytesPerSecond * static_cast<double>(state.iterations()),
      benchmark::Counter::kIsRate);
}

// One command line through EcrCmd: parse, register check (one 'S' frame of
// 1 byte, answered with 7), dispatch to the handler, key batch, result text.
void BM_CommandLine(benchmark::State& state) {
  InitTranslator();
  const std::int64_t framesBefore = framesSeen;
  char text[256];
  for (auto _ : state) {
    benchmark::DoNotOptimize(EcrCmd("#4 ; a sale would carry its fields here", text));
  }
  ReportWire(state, framesBefore, 1 + kIdleStatus.size(), 1);
}
BENCHMARK(BM_CommandLine);

// Key records queued as a sales handler queues them ('A', price digits as
// keypad keys, a department key) and sent by SendKeyBatch; per record.
void BM_KeyRecords(benchmark::State& state) {
  InitTranslator();
  const std::int64_t framesBefore = framesSeen;
  const int records = static_cast<int>(state.range(0));
  std::string keys;
  quadrel::DigitsToKeys(keys, "1250");
  std::size_t recordBytes = 0;
  for (auto _ : state) {
    quadrel::KeyRecordQueue& batch = quadrel::KeyBatch();
    batch.Clear();
    for (int i = 0; i < records; ++i) {
      batch.Append(static_cast<std::uint8_t>('A'));
      batch.Append(keys);
      batch.Append(static_cast<std::uint8_t>(0x41));  // a department key
      recordBytes = batch.Pending().size();
      batch.EndKeyRecord();
    }
    benchmark::DoNotOptimize(quadrel::SendKeyBatch(0, nullptr, 2));
  }
  ReportWire(state, framesBefore, static_cast<double>(records) * (recordBytes + kIdleStatus.size()), records);
}
BENCHMARK(BM_KeyRecords)->Arg(1)->Arg(10)->Arg(1000);

// A batch file of 100,000 command lines end to end: file reading, progress,
// the retry policy and the summary, with a result file.
void BM_Batch100k(benchmark::State& state) {
  InitTranslator();
  const std::int64_t framesBefore = framesSeen;
  constexpr int kLines = 100000;
  const auto batchPath = bench_support::WorkFolder("quadrel_bench") / "batch.txt";
  const auto resultPath = bench_support::WorkFolder("quadrel_bench") / "result.txt";
  {
    std::ofstream batch(batchPath, std::ios::binary);
    for (int i = 0; i < kLines; ++i) batch << "#4 ; line " << i << "\r\n";
  }
  std::string line = "@";
  line += batchPath.string() + "," + resultPath.string();
  char text[256];
  for (auto _ : state) {
    benchmark::DoNotOptimize(EcrCmd(line.c_str(), text));
  }
  state.SetLabel(text);
  // Slave mode on and off add two checked lines to the file's own.
  ReportWire(state, framesBefore, (kLines + 2.0) * (1 + kIdleStatus.size()), kLines);
}
BENCHMARK(BM_Batch100k)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
