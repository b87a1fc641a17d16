// A programming-table dump replayed as a batch through the real Quadrel.dll:
// the dump of one simulated register, run with "@dump,result" against a fresh
// one, programs the same tables (its own dump is the same file) and leaves the
// result file empty.
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "dll/quadrel_exports.h"
#include "dll/simulated_line.h"
#include "sample_tables.h"

namespace {

namespace fs = std::filesystem;

std::string Slurp(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

class DumpReplayDll : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / "quadrel dump replay";
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    SimulatedLine::hostInfo = HostInfoRecord{};
    SimulatedLine::hostInfo.protocolType = 3;  // one register on the line
  }
  void TearDown() override {
    Close();
    fs::remove_all(dir_);
  }

  // A translator on a fresh register that holds no programming yet.
  void OpenOnFreshRegister() {
    Close();
    sim_ = std::make_unique<ecrsim::Simulator>();
    ASSERT_TRUE(sim_->AddRegister(1, quadrel_test::SampleTablesConfig()));
    SimulatedLine::simulator = sim_.get();
    ASSERT_TRUE(quadrel_.Load());
    ASSERT_EQ(SimulatedLine::Init(quadrel_, QUADREL_SHIPPED_DEFINITIONS), 0);
  }
  void Close() {
    if (quadrel_.TradClose) quadrel_.TradClose();
    quadrel_.Unload();
    SimulatedLine::simulator = nullptr;
  }
  int Run(const std::string& line) {
    char result[1024] = {};
    return quadrel_.EcrCmd(line.c_str(), result);
  }
  void Dump(const fs::path& file) {
    for (const std::string& line : quadrel_test::SampleTableDumpLines(file.string()))
      ASSERT_EQ(Run(line), 0) << line;
  }

  fs::path dir_;
  std::unique_ptr<ecrsim::Simulator> sim_;
  QuadrelExports quadrel_;
};

TEST_F(DumpReplayDll, TheReplayedDumpProgramsTheSameTablesWithAnEmptyResultFile) {
  OpenOnFreshRegister();
  for (const char* line : quadrel_test::kSampleTableLines) ASSERT_EQ(Run(line), 0) << line;
  Dump(dir_ / "first.txt");

  OpenOnFreshRegister();
  EXPECT_EQ(Run("@" + (dir_ / "first.txt").string() + "," + (dir_ / "result.txt").string()), 0);
  EXPECT_EQ(Slurp(dir_ / "result.txt"), "");
  Dump(dir_ / "second.txt");
  EXPECT_EQ(Slurp(dir_ / "second.txt"), Slurp(dir_ / "first.txt"));
}

}  // namespace
