// Ravelin's command line, decided without starting anything.
#include <gtest/gtest.h>

#include "command_switches.h"

namespace ravelin {
namespace {

TEST(RavelinSwitches, SwitchesTakeSlashOrDashInAnyCaseAnywhere) {
  EXPECT_TRUE(ParseCommandLine("-regserver").regServer);
  EXPECT_TRUE(ParseCommandLine("/RegServer").regServer);
  EXPECT_TRUE(ParseCommandLine("x /UNREGSERVER y").unregServer);
  const TStartOptions com = ParseCommandLine("/Automation -Embedding");
  EXPECT_TRUE(com.automation);
  EXPECT_TRUE(com.embedding);
  EXPECT_TRUE(com.StartedByCom());
  EXPECT_FALSE(com.regServer);
}

TEST(RavelinSwitches, WordsThatOnlyLookLikeSwitchesAreNot) {
  EXPECT_FALSE(ParseCommandLine("regserver").regServer);
  EXPECT_FALSE(ParseCommandLine("/regserverx").regServer);
  EXPECT_FALSE(ParseCommandLine("\"C:\\a b\\-Embedding\"").embedding);
  EXPECT_FALSE(ParseCommandLine("").StartedByCom());
}

TEST(RavelinSwitches, PortSwitchNamesTheAutoRunPort) {
  EXPECT_EQ(ParseCommandLine("").autoRunPort, "1");
  EXPECT_EQ(ParseCommandLine("/p 3").autoRunPort, "3");
  EXPECT_EQ(ParseCommandLine("  /P12  ").autoRunPort, "12");
  EXPECT_EQ(ParseCommandLine("/Automation /P 3").autoRunPort, "1") << "only at the start";
}

TEST(RavelinSwitches, OnlyAnExplicitPortSwitchAllowsSpooling) {
  EXPECT_FALSE(ParseCommandLine("").autoRunPortGiven) << "the default port 1 is not a spooler's";
  EXPECT_FALSE(ParseCommandLine("/Automation -Embedding").autoRunPortGiven);
  EXPECT_FALSE(ParseCommandLine("/Automation /P 1").autoRunPortGiven);
  const TStartOptions service = ParseCommandLine("/p 1");
  EXPECT_TRUE(service.autoRunPortGiven);
  EXPECT_EQ(service.autoRunPort, "1");
}

}  // namespace
}  // namespace ravelin
