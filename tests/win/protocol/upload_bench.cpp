// An article file loaded end to end the way a host does it: "UA" of command
// 30 through Quadrel.dll (loaded by Ravelin's translator loader), the protocol
// library and its loopback TCP line to the simulator the fixture's ports file
// names. Times each load against the wire time of the frames and answers
// exchanged at 115200 baud 8N1, and checks the register holds every article
// afterwards, so the figure is for a whole load; then times one bare status
// exchange of the same library, the floor under each article.
//   quadrel_upload_bench [articles [runs]]   (from the build's Drivers folder)
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "bench/bench_support.h"
#include "port/translator_library.h"
#include "protocol/exchange_timing.h"
#include "protocol/protocol_test_support.h"

using namespace protocol_test;

namespace {

constexpr int kPortNumber = 933;
constexpr int kFirstCode = 1000000;
constexpr std::size_t kDescriptionBytes = 20;  // t72's description, filled

class StderrNotifier final : public Notifier {
 public:
  void Show(const std::string& text) override { std::fprintf(stderr, "%s\n", text.c_str()); }
};

// "I,code,description,,,class,price" a line, CR LF ended: one insert each.
std::string WriteArticleFile(int articles) {
  const auto path = bench_support::WorkFolder("quadrel_upload_bench") / "articles.txt";
  std::ofstream out(path, std::ios::binary);
  for (int i = 0; i < articles; ++i) {
    out << "I," << kFirstCode + i << ',' << std::string(kDescriptionBytes, static_cast<char>('A' + i % 26))
        << ",,,2," << 100 + i % 900 << "\r\n";
  }
  return path.string();
}

// User and kernel time of this process so far.
double ProcessCpuSeconds() {
  FILETIME created, exited, kernel, user;
  GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
  const auto ticks = [](const FILETIME& t) {
    return static_cast<double>((static_cast<std::uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime);
  };
  return (ticks(kernel) + ticks(user)) / 1e7;
}

// Lines of a control listing before its closing OK line.
int ListedRecords(const std::string& listing) {
  int lines = 0;
  for (char c : listing) lines += c == '\n';
  return lines - 1;
}

}  // namespace

int main(int argc, char** argv) {
  const int articles = argc > 1 ? std::atoi(argv[1]) : 10000;
  const int runs = argc > 2 ? std::atoi(argv[2]) : 3;
  SimControl sim(FixturePorts().control);
  if (!sim.Ok("register 1 t72")) return 1;
  PortKey key(kPortNumber, EthernetPortValues(FixturePorts().wire, 2000));
  StderrNotifier notifier;
  TTranslatorLibrary translator(key.path(), notifier);
  ProtocolLibrary protocol;
  if (!translator.ok() || !protocol.Load("Lunsk.dll") || protocol.OpenProt(key.path().c_str(), "") != 1) return 2;
  bench_support::WireCount wire;
  double exchangeSeconds = 0;  // spent in the protocol library's exchanges
  translator.SetServiceHandler([&](int ecr, int mode, void* frame, void* length, void* answer,
                                   void* answerLength, void* detail) {
    const int frameBytes = static_cast<int>(reinterpret_cast<std::intptr_t>(length));
    int result = 0;
    exchangeSeconds += MicrosecondsPerCall(1, [&] {
      result = protocol.EcrIO(ecr, mode, frame, frameBytes, answer, static_cast<int*>(answerLength),
                              static_cast<int*>(detail));
    }) / 1e6;
    if (ecr >= 0) {
      wire.Add(static_cast<std::size_t>(frameBytes), static_cast<std::size_t>(*static_cast<int*>(answerLength)));
    }
    return result;
  });
  if (translator.CallTradInit() != 0) return 3;

  const std::string line = "TRASFER MODO='UA', FILE='" + WriteArticleFile(articles) + "', AZZERA";
  std::printf("%d articles through %s and Lunsk.dll, %d runs\n", articles, translator.fileName().c_str(), runs);
  int failed = 0;
  for (int run = 0; run < runs; ++run) {
    std::string answer;
    int result = 0;
    wire = {};
    exchangeSeconds = 0;
    const double cpuBefore = ProcessCpuSeconds();
    const double measured = MicrosecondsPerCall(1, [&] { result = translator.EcrCmd(line, answer); }) / 1e6;
    const double cpu = ProcessCpuSeconds() - cpuBefore;
    const int held = ListedRecords(sim.Run("records 1 article"));
    std::printf("run %d: %s; %lld frames, %lld bytes, wire %.1f s; measured %.3f s (%.1f us an article, "
                "%.1f us of it in the library's exchange; this process's CPU %.3f s); wire/measured %.1f; "
                "register holds %d articles\n",
                run + 1, answer.c_str(), static_cast<long long>(wire.frames), static_cast<long long>(wire.bytes),
                wire.Seconds(), measured, measured / articles * 1e6, exchangeSeconds / articles * 1e6, cpu,
                wire.Seconds() / measured, held);
    failed += result != 0 || held != articles;
  }
  // The floor under each article: one exchange of the same library on the same line.
  std::printf("one status exchange through Lunsk.dll alone: %.1f us\n", StatusExchangeMicroseconds(protocol, 2000));
  translator.entry().TradClose();
  protocol.CloseProt(0);
  return failed == 0 ? 0 : 4;
}
