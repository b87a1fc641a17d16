// GetEcrConfVal and GetEcrConfStr through the real Quadrel.dll, on a line of
// simulated registers served from this process: register 1 a model 'T', 2 a
// model 'S', 3 counted by the host but absent.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <string>

#include "config/register_config.h"
#include "dll/quadrel_exports.h"
#include "dll/simulated_line.h"

namespace {

using ecrsim::Area;

const std::string kMinimalIni = std::string(QUADREL_WIN_TEST_DATA) + "minimal.ini";

HostInfoRecord& hostInfo = SimulatedLine::hostInfo;
std::int32_t presence[25];
int statusExFor = 0;

int __stdcall ExtendedStatus(int ecr, int, int* status, int* length, std::uint8_t* buffer) {
  statusExFor = ecr;
  *status = 1;
  *length = 2;
  buffer[0] = 0x12;
  buffer[1] = 0xD0;
  return 0;
}

std::uint32_t Id(int ecr, int item) {
  return static_cast<std::uint32_t>(ecr) << 16 | static_cast<std::uint32_t>(item);
}

class EcrConfDll : public ::testing::Test {
 protected:
  void SetUp() override {
    SimulatedLine::simulator = &sim;
    ASSERT_TRUE(sim.AddRegister(1, *ecrsim::BuiltInConfig("t72")));
    ASSERT_TRUE(sim.AddRegister(2, *ecrsim::BuiltInConfig("s12")));
    hostInfo = HostInfoRecord{};
    std::fill(std::begin(presence), std::end(presence), 0);
    presence[1] = 1;
    presence[2] = 1;
    hostInfo.protocolType = 1;  // one line, several registers
    hostInfo.versionMajor = 4;
    hostInfo.versionMinor = 5;
    hostInfo.versionBuild = 6;
    hostInfo.presenceFlags = presence;
    hostInfo.statusEx = ExtendedStatus;
    hostInfo.registerCount = 3;
    ASSERT_TRUE(quadrel.Load());
  }
  void TearDown() override {
    if (quadrel.TradClose) quadrel.TradClose();
    quadrel.Unload();
    SimulatedLine::simulator = nullptr;
  }
  void Init() { ASSERT_EQ(SimulatedLine::Init(quadrel, kMinimalIni.c_str()), 0); }
  std::string Str(std::uint32_t id) {
    const char* text = quadrel.GetEcrConfStr(id);
    return text ? text : "<null>";
  }

  ecrsim::Simulator sim;
  QuadrelExports quadrel;
};

TEST_F(EcrConfDll, ValuesOfEachRegisterOfTheLine) {
  Init();
  const int width1 = ecrsim::BuiltInConfig("t72")->Byte(Area::Block4, 33);
  const int width2 = ecrsim::BuiltInConfig("s12")->Byte(Area::Block4, 33);
  ASSERT_NE(width1, width2);
  EXPECT_EQ(quadrel.GetEcrConfVal(0), 3000003);
  EXPECT_EQ(quadrel.GetEcrConfVal(1), 4005006);
  EXPECT_EQ(quadrel.GetEcrConfVal(12), width1);
  EXPECT_EQ(quadrel.GetEcrConfVal(Id(2, 12)), width2);
  EXPECT_EQ(quadrel.GetEcrConfVal(Id(2, 10)), 2);
  EXPECT_EQ(quadrel.GetEcrConfVal(10), 1);          // back on the selected register
  EXPECT_EQ(quadrel.GetEcrConfVal(Id(3, 12)), -1);  // counted, not present
  EXPECT_EQ(quadrel.GetEcrConfVal(Id(4, 12)), -1);  // past the host's count
  EXPECT_EQ(quadrel.GetEcrConfVal(7), -1);
}

TEST_F(EcrConfDll, TextsOfEachRegisterOfTheLine) {
  Init();
  const std::string status = Str(0);
  ASSERT_EQ(status.size(), 80u);
  EXPECT_EQ(status.substr(0, 13), "1030100   110");
  EXPECT_EQ(Str(Id(2, 2)), ecrsim::BuiltInConfig("s12")->Text(Area::Identity, 69, 8));
  EXPECT_EQ(Str(2), ecrsim::BuiltInConfig("t72")->Text(Area::Identity, 69, 8));
  EXPECT_EQ(Str(Id(2, 3)), ecrsim::BuiltInConfig("s12")->Text(Area::Identity, 11, 20));
  EXPECT_EQ(Str(Id(1, 0)), "<null>");
  EXPECT_EQ(Str(Id(2, 6)), "12D0");
  EXPECT_EQ(statusExFor, 2);
  EXPECT_EQ(Str(Id(3, 1)), "<null>");
}

TEST_F(EcrConfDll, SingleRegisterHostAnswersForRegisterOneOnly) {
  hostInfo.protocolType = 3;
  Init();
  EXPECT_EQ(quadrel.GetEcrConfVal(Id(1, 10)), 1);
  EXPECT_EQ(quadrel.GetEcrConfVal(Id(2, 10)), -1);
  EXPECT_EQ(Str(Id(2, 2)), "<null>");
  EXPECT_EQ(Str(0).substr(0, 11), "3030100   1");
}

}  // namespace
