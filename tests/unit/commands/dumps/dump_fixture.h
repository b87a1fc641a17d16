// The fixture of the command-3 tests against a scripted register: a row is
// a command line, the register's configuration, the reads the dump makes in
// order with their answers, and the lines the file then holds.
#pragma once

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "command_fixture.h"
#include "state/ecr_config.h"

namespace quadrel::dump_test {

using quadrel_test::Bytes;
using quadrel_test::bytes;
using quadrel_test::status_idle;

using Setup = std::function<void(EcrConfigRecord&)>;
using Exchange = std::pair<Bytes, Bytes>;

inline Exchange Read(int address, std::string_view held) {
  return {bytes({'D', address & 0xFF, address >> 8, static_cast<int>(held.size())}),
          bytes(std::string("D") + std::string(held))};
}
inline Exchange Info(int selector, int number, std::string_view held) {
  return {bytes({'U', 0, 0x20, selector, number, 0}), bytes(std::string("U\0", 2) + std::string(held))};
}

inline Setup Model(char letter, std::vector<int> levels, std::function<void(EcrConfigRecord&)> more = {}) {
  return [=](EcrConfigRecord& ecr) {
    ecr.ModelLetter = letter;
    for (int level : levels) ecr.FeatureLevels[level] = 1;
    if (more) more(ecr);
  };
}

struct Row {
  std::string line;
  Setup setup;
  std::vector<Exchange> reads;
  std::vector<std::string> lines;
  int result = 0;
};

class DumpTest : public CommandLineTest {
 protected:
  void SetUp() override {
    path_ = (std::filesystem::temp_directory_path() / ("quadrel-dump-" + std::to_string(::getpid()) + ".txt")).string();
    std::filesystem::remove(path_);
  }
  void TearDown() override {
    std::filesystem::remove(path_);
    CommandLineTest::TearDown();
  }

  void Check(const Row& row) {
    SCOPED_TRACE(row.line);
    CommandLineTest::SetUp();
    EcrConfigRecord& ecr = EcrRecord(1);
    ecr.Decimals = 2;
    if (row.setup) row.setup(ecr);
    host.expect("S").answer(0, status_idle());
    for (const auto& [frame, answer] : row.reads) host.expect(frame).answer(0, answer);
    EXPECT_EQ(RunLine("SCARICA NOMEFILE='" + path_ + "', " + row.line), row.result);
    EXPECT_EQ(host.pending(), 0);
    EXPECT_EQ(Lines(), row.lines);
  }

  std::vector<std::string> Lines() const {
    std::ifstream in(path_, std::ios::binary);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) {
      EXPECT_EQ(line.back(), '\r');
      lines.push_back(line.substr(0, line.size() - 1));
    }
    return lines;
  }

  std::string path_;
};

}  // namespace quadrel::dump_test
