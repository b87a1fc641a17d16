#include "config/config_lines.h"

#include <gtest/gtest.h>

#include <string>

#include "control/control_commands.h"
#include "sample_tables.h"

namespace ecrsim {
namespace {

// A record table longer than one line carries, and an area emptied.
RegisterConfig LongRecordTable() {
  RegisterConfig c = *BuiltInConfig("s12");
  for (int offset = 1; offset <= 700; ++offset) c.SetNumber(Area::RecordTable, offset, 1, offset % 251);
  c.Resize(Area::Setting15, 0);
  return c;
}

TEST(ConfigLinesTest, TheLinesGiveARunningRegisterTheConfigurationByteForByte) {
  std::vector<RegisterConfig> configs = {quadrel_test::SampleTablesConfig(), LongRecordTable()};
  for (const std::string& name : BuiltInConfigNames()) configs.push_back(*BuiltInConfig(name));
  for (const RegisterConfig& config : configs) {
    Simulator sim;
    sim.AddRegister(2, *BuiltInConfig("m4"));
    std::string text, error;
    for (const std::string& line : ConfigLines(2, config)) text += line + "\n";
    ASSERT_TRUE(LoadConfigText(sim, text, error)) << error;
    for (int i = 0; i < kAreaCount; ++i)
      EXPECT_EQ(sim.Find(2)->Config().Data(static_cast<Area>(i)), config.Data(static_cast<Area>(i)))
          << config.name << " " << AreaName(static_cast<Area>(i));
  }
}

}  // namespace
}  // namespace ecrsim
