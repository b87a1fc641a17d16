// The programming-table dumps end to end: tables programmed into a simulated
// register, dumped, replayed as one batch into a fresh register and dumped
// again in the same session give the same file, for each sample configuration.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <string>

#include "control/control_commands.h"
#include "definition_text.h"
#include "exports/ecr_cmd.h"
#include "file_text.h"
#include "sample_tables.h"
#include "sim_host.h"

namespace quadrel_test {
void PrintTo(const SampleTables& sample, std::ostream* out) {
  *out << sample.name;
}
}  // namespace quadrel_test

namespace quadrel {
namespace {

class RegisterTrip : public test_support::WithShippedDefinitions<> {
 protected:
  void TearDown() override {
    host_.reset();
    ResetProcessState();
    for (const char* name : {"first", "second"}) std::filesystem::remove(Path(name));
  }

  void FreshRegister(const ecrsim::RegisterConfig& config = quadrel_test::SampleTablesConfig()) {
    host_.reset();
    host_ = std::make_unique<SimHost>();
    host_->sim.AddRegister(1, config);
    host_->Install();
    ASSERT_EQ(Run("SELEZIONA CASSA=1"), 0);
  }
  std::string Control(const std::string& line) { return ecrsim::RunControlLine(host_->sim, line); }
  std::string Keyboard() {
    return Control("keys 1 1") + Control("keys 1 2") + Control("macro 1 3") + Control("macro 1 4");
  }
  int Run(const std::string& line) {
    std::string text;
    return EcrCommand(line, text);
  }
  static std::string Path(const std::string& name) {
    return (std::filesystem::temp_directory_path() / ("quadrel-trip-" + std::to_string(::getpid()) + name))
        .string();
  }
  void DumpAll(const std::string& name) {
    for (const std::string& line : quadrel_test::SampleTableDumpLines(Path(name)))
      ASSERT_EQ(Run(line), 0) << line;
  }
  static std::string Contents(const std::string& name) { return quadrel_test::FileText(Path(name)); }

  std::unique_ptr<SimHost> host_;
};

class DumpRoundTrip : public RegisterTrip,
                      public ::testing::WithParamInterface<quadrel_test::SampleTables> {};

TEST_P(DumpRoundTrip, AReplayedDumpProgramsTheSameTables) {
  const quadrel_test::SampleTables& sample = GetParam();
  FreshRegister(sample.config());
  for (const char* line : sample.lines) ASSERT_EQ(Run(line), 0) << line;
  DumpAll("first");
  const std::string first = Contents("first");
  for (const std::string& expected : sample.dumped)
    EXPECT_NE(first.find(expected), std::string::npos) << expected << "\n" << first;

  FreshRegister(sample.config());
  ASSERT_EQ(Run("@" + Path("first")), 0);
  DumpAll("second");
  EXPECT_EQ(Contents("second"), first);
}

INSTANTIATE_TEST_SUITE_P(Configurations, DumpRoundTrip, ::testing::ValuesIn(quadrel_test::AllSampleTables()),
                         [](const auto& info) { return std::string(info.param.name); });

using KeyboardDumpRoundTrip = RegisterTrip;

TEST_F(KeyboardDumpRoundTrip, AReplayedKeyboardDumpProgramsTheSameMaps) {
  FreshRegister();
  for (const char* line : {"keys 1 1 1 49", "keys 1 1 3 12", "keys 1 1 80 202", "keys 1 1 7 203",
                           "keys 1 2 5 49", "macro 1 3 = 1 145 150", "macro 1 4 ="})
    ASSERT_EQ(Control(line), "OK\n") << line;
  const std::string keyboard = Keyboard();
  ASSERT_EQ(Run("SCARICA ARCHIVIO=10, SESSIONE, NOMEFILE='" + Path("first") + "'"), 0);

  FreshRegister();
  ASSERT_EQ(Run("@" + Path("first")), 0) << Contents("first");
  EXPECT_EQ(Keyboard(), keyboard);
}

}  // namespace
}  // namespace quadrel
