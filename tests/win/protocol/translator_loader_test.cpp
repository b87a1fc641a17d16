// The translator loader: file by port type and Windows version, binding and
// its messages, TradInit's definitions file, the process-wide callbacks, and
// the full road from TradInit through the protocol library to the simulator.
// ctest runs the suites in folders that hold the matching translator files.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "port/translator_library.h"
#include "protocol/protocol_test_support.h"

using namespace protocol_test;

namespace {

constexpr WindowsVersion kWindows7{6, 1};
constexpr WindowsVersion kWindows2000{5, 0};

class RecordingNotifier final : public Notifier {
 public:
  void Show(const std::string& text) override { shown.push_back(text); }
  std::vector<std::string> shown;
};

std::string ModuleFile(void* module) {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(static_cast<HMODULE>(module), path, MAX_PATH);
  const std::string full(path);
  return full.substr(full.find_last_of('\\') + 1);
}

template <typename T>
T DoubleExport(void* module, const char* name) {
  return reinterpret_cast<T>(reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(module), name)));
}

std::string LastIni(const TTranslatorLibrary& translator) {
  return DoubleExport<const char*(__stdcall*)()>(translator.module(), "DoubleLastIni")();
}

TEST(LoaderFileNameTest, PortTypeAndWindowsVersionChooseTheFile) {
  EXPECT_EQ(TranslatorKind("Ethernet-RT"), "RT");
  EXPECT_EQ(TranslatorKind("RS232USB-RT"), "RT");
  EXPECT_EQ(TranslatorKind("RS232"), "");
  EXPECT_EQ(TranslatorKind(""), "");
  EXPECT_EQ(TranslatorFileName("RT", kWindows2000), "QuadrelRT.dll");
  EXPECT_EQ(TranslatorFileName("", kWindows2000), "Quadrel2000.dll");
  EXPECT_EQ(TranslatorFileName("", {5, 1}), "Quadrel.dll");
  EXPECT_EQ(TranslatorFileName("", {6, 0}), "Quadrel.dll");
  EXPECT_EQ(TranslatorFileName("", kWindows7), "Quadrel.dll");
  EXPECT_STREQ(DefinitionsFileName("RT"), "TALLISRT.INI");
  EXPECT_STREQ(DefinitionsFileName(""), "TALLIS.INI");
}

// ---- with the translator double (folder loader-full) ----

TEST(LoaderDoubleTest, EachPortTypeLoadsItsFileOncePerProcess) {
  RecordingNotifier notifier;
  struct Case {
    const char* portType;
    WindowsVersion version;
    const char* file;
    const char* ini;
  } cases[] = {
      {"Ethernet-RT", kWindows7, "QuadrelRT.dll", "TALLISRT.INI"},
      {"RS232USB-RT", kWindows2000, "QuadrelRT.dll", "TALLISRT.INI"},
      {"RS232", kWindows2000, "Quadrel2000.dll", "TALLIS.INI"},
      {"RS232", kWindows7, "Quadrel.dll", "TALLIS.INI"},
      {"EthernetHostPC", {5, 1}, "Quadrel.dll", "TALLIS.INI"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.portType) + " " + c.file);
    PortKey key(921, {{"PortType", c.portType}});
    TTranslatorLibrary first(key.path(), notifier, c.version);
    ASSERT_TRUE(first.ok());
    EXPECT_EQ(ModuleFile(first.module()), c.file);
    EXPECT_EQ(first.errorText(), "Quadrel.dll");
    first.SetServiceHandler([](int, int, void*, void*, void*, void*, void*) { return 0; });
    EXPECT_EQ(first.CallTradInit(), 0);
    EXPECT_EQ(LastIni(first), c.ini);
    TTranslatorLibrary again(key.path(), notifier, c.version);
    EXPECT_EQ(again.module(), first.module());
  }
  EXPECT_TRUE(notifier.shown.empty());
}

TEST(LoaderDoubleTest, ServiceCallbackForwardsTheSevenArgumentsInOrder) {
  RecordingNotifier notifier;
  PortKey key(922, {{"PortType", "RS232"}});
  TTranslatorLibrary translator(key.path(), notifier, kWindows7);
  ASSERT_TRUE(translator.ok());
  EXPECT_EQ(translator.CallTradInit(), kHostNoLine) << "no service handler: the callback answers a failure";

  std::vector<std::uintptr_t> seen;
  translator.SetServiceHandler([&](int a1, int a2, void* a3, void* a4, void* a5, void* a6, void* a7) {
    seen = {static_cast<std::uintptr_t>(a1), static_cast<std::uintptr_t>(a2), reinterpret_cast<std::uintptr_t>(a3),
            reinterpret_cast<std::uintptr_t>(a4), reinterpret_cast<std::uintptr_t>(a5),
            reinterpret_cast<std::uintptr_t>(a6), reinterpret_cast<std::uintptr_t>(a7)};
    return 42;
  });
  EXPECT_EQ(translator.CallTradInit(), 42);
  EXPECT_EQ(seen, (std::vector<std::uintptr_t>{7, 3, 0x1111, 0x2222, 0x3333, 0x4444, 0x5555}));
}

TEST(LoaderDoubleTest, CallbacksReachTheLatestBoundTranslatorOnly) {
  RecordingNotifier notifier;
  PortKey key(923, {{"PortType", "RS232"}});
  auto older = std::make_unique<TTranslatorLibrary>(key.path(), notifier, kWindows7);
  older->SetServiceHandler([](int, int, void*, void*, void*, void*, void*) { return 1; });
  auto newer = std::make_unique<TTranslatorLibrary>(key.path(), notifier, kWindows7);
  newer->SetServiceHandler([](int, int, void*, void*, void*, void*, void*) { return 3; });
  EXPECT_EQ(TTranslatorLibrary::TradEcrIOCallback(0, 0, nullptr, nullptr, nullptr, nullptr, nullptr), 3);
  newer.reset();
  EXPECT_EQ(TTranslatorLibrary::TradEcrIOCallback(0, 0, nullptr, nullptr, nullptr, nullptr, nullptr), kHostNoLine)
      << "a destroyed translator object must not stay reachable, nor its absence answer success";
}

// Progress forwarding is switched on by the first SetProgressHandler of the process.
TEST(LoaderDoubleTest, ProgressReachesTheHandlerOnlyAfterSetProgressHandler) {
  RecordingNotifier notifier;
  PortKey key(924, {{"PortType", "RS232"}});
  TTranslatorLibrary translator(key.path(), notifier, kWindows7);
  ASSERT_TRUE(translator.ok());
  auto lastAbort = DoubleExport<int(__stdcall*)()>(translator.module(), "DoubleLastAbort");
  translator.CallTradInit();
  EXPECT_EQ(lastAbort(), 0);

  std::vector<std::string> reports;
  translator.SetProgressHandler([&](int ecr, int count, int percent, const std::string& text, int* abort) {
    reports.push_back(std::to_string(ecr) + " " + std::to_string(count) + " " + std::to_string(percent) + " " + text);
    *abort = 1;
  });
  translator.CallTradInit();
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_EQ(reports[0], "11 22 33 double progress");
  EXPECT_EQ(lastAbort(), 1) << "the handler's abort reaches the translator";
}

TEST(LoaderDoubleTest, EcrCmdAnswerHoldsTheLongestResultText) {
  RecordingNotifier notifier;
  PortKey key(925, {{"PortType", "RS232"}});
  TTranslatorLibrary translator(key.path(), notifier, kWindows7);
  std::string answer;
  EXPECT_EQ(translator.EcrCmd("#4", answer), 0);
  EXPECT_EQ(answer, std::string(255, 'R'));
  EXPECT_EQ(translator.EcrConfStr(1).value_or(""), "double text");
}

TEST(LoaderDoubleTest, MissingFileIsNamedInTheMessage) {
  RecordingNotifier notifier;
  PortKey key(926, {{"PortType", "Ethernet-RT"}});
  // This folder has no QuadrelRT.dll (folder loader-no-confstr).
  TTranslatorLibrary translator(key.path(), notifier, kWindows7);
  EXPECT_FALSE(translator.ok());
  ASSERT_EQ(notifier.shown.size(), 1u);
  EXPECT_EQ(notifier.shown[0], "Dll not found. Name:\n\n\tQuadrelRT.dll");
  EXPECT_EQ(translator.errorText(), notifier.shown[0]);
  EXPECT_EQ(translator.CallTradInit(), kTradInitUnavailable);
}

TEST(LoaderDoubleTest, LibraryWithoutGetEcrConfStrIsReportedAndNotCalled) {
  RecordingNotifier notifier;
  PortKey key(927, {{"PortType", "RS232"}});
  TTranslatorLibrary translator(key.path(), notifier, kWindows7);
  EXPECT_FALSE(translator.ok());
  ASSERT_EQ(notifier.shown.size(), 1u);
  EXPECT_EQ(notifier.shown[0], "Quadrel.dll non compatibile, manca la funzione:\n\nGetEcrConfStr");
  EXPECT_EQ(translator.CallTradInit(), kTradInitUnavailable);
  EXPECT_EQ(LastIni(translator), "") << "TradInit of a partly bound library must not run";
  EXPECT_EQ(TTranslatorLibrary::TradEcrIOCallback(0, 0, nullptr, nullptr, nullptr, nullptr, nullptr), kHostNoLine);
}

TEST(LoaderDoubleTest, LibraryWithoutTradInitFailsSilently) {
  RecordingNotifier notifier;
  PortKey key(928, {{"PortType", "RS232"}});
  TTranslatorLibrary translator(key.path(), notifier, kWindows7);
  EXPECT_FALSE(translator.ok());
  EXPECT_TRUE(notifier.shown.empty());
  EXPECT_EQ(translator.CallTradInit(), kTradInitUnavailable);
  std::string answer = "stale";
  EXPECT_EQ(translator.EcrCmd("#4", answer), kTradInitUnavailable);
  EXPECT_EQ(answer, "");
}

// Run alone: it unloads the translator to count the references.
TEST(LoaderDoubleTest, RepeatedPortOpensTakeOneLibraryReference) {
  RecordingNotifier notifier;
  PortKey key(929, {{"PortType", "RS232"}});
  void* module = nullptr;
  for (int open = 0; open < 25; ++open) {
    TTranslatorLibrary translator(key.path(), notifier, kWindows7);
    ASSERT_TRUE(translator.ok());
    module = translator.module();
  }
  ASSERT_NE(GetModuleHandleA("Quadrel.dll"), nullptr);
  FreeLibrary(static_cast<HMODULE>(module));
  EXPECT_EQ(GetModuleHandleA("Quadrel.dll"), nullptr) << "more than one reference was taken";
}

// ---- the real translator and protocol library against the fixture's simulator ----

TEST(LoaderFullRoadTest, TradInitAndACommandReachTheSimulatorThroughTheProtocolLibrary) {
  SimControl sim(FixturePorts().control);
  ASSERT_TRUE(sim.Ok("register 1 t72"));
  ASSERT_TRUE(sim.Ok("status 1 state 1"));
  PortKey key(930, EthernetPortValues(FixturePorts().wire, 2000));
  RecordingNotifier notifier;
  TTranslatorLibrary translator(key.path(), notifier, kWindows7);
  ASSERT_TRUE(translator.ok()) << translator.errorText();

  ProtocolLibrary protocol;
  ASSERT_TRUE(protocol.Load("Lunsk.dll"));
  ASSERT_EQ(protocol.OpenProt(key.path().c_str(), ""), 1);
  std::vector<int> requests;
  translator.SetServiceHandler([&](int a1, int a2, void* a3, void* a4, void* a5, void* a6, void* a7) {
    requests.push_back(a1);
    return protocol.EcrIO(a1, a2, a3, static_cast<int>(reinterpret_cast<std::intptr_t>(a4)), a5,
                          static_cast<int*>(a6), static_cast<int*>(a7));
  });

  EXPECT_EQ(translator.CallTradInit(), 0);
  ASSERT_FALSE(requests.empty());
  EXPECT_EQ(requests[0], -105) << "the host-info record is asked for first";
  // Version of the protocol library as the translator reports it (major x 1000000 + ...).
  EXPECT_EQ(translator.entry().GetEcrConfVal(1) / 1000000, 1);
  // TradInit read register 1's configuration from the simulator's t72 register.
  EXPECT_EQ(translator.entry().GetEcrConfVal(10), 1);
  const char* modelCode = translator.entry().GetEcrConfStr(2);
  ASSERT_NE(modelCode, nullptr);
  EXPECT_STREQ(modelCode, "T1RT072A");

  ASSERT_TRUE(sim.Ok("log 1 clear"));
  std::string answer;
  const int result = translator.EcrCmd("#4", answer);
  EXPECT_EQ(result, 0) << answer;
  const std::string log = sim.Run("log 1");
  EXPECT_NE(log.find(" 53 -> 0 53"), std::string::npos) << log;
  translator.entry().TradClose();
}

}  // namespace
