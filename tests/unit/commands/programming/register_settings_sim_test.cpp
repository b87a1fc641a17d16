// Options, currencies, groups, percentages, table 4 and parameters against a
// simulated model 'N' register: each command changes what the register
// shows on its control channel (or, for the options, in the block the
// translator keeps), and the settings commands send nothing but the status
// frame while the register is not idle.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "control/control_commands.h"
#include "sim_command_fixture.h"
#include "state/ecr_config.h"

namespace quadrel {
namespace {

class RegisterSettingsSim : public SimCommandTest {
 protected:
  void SetUp() override {
    SimCommandTest::SetUp();
    // Options 1, 2, 16, 17 and 27 at block bytes 0, 3, 4, 5 and 9, the others missing.
    const std::vector<std::string> lines = {
        "set 1 identity text 69 1 N", "set 1 feature 18 1",    "set 1 feature 41 1",
        "set 1 block5 hex 1 " + std::string(100, 'F'), "set 1 block5 byte 2 0", "set 1 block5 byte 3 3",
        "set 1 block5 byte 17 4",     "set 1 block5 byte 18 5", "set 1 block5 byte 28 9"};
    for (const std::string& line : lines)
      ASSERT_EQ(Control(line), "OK\n") << line;
    ASSERT_EQ(Run("SELEZIONA CASSA=1"), 0);
  }
  std::string Control(const std::string& line) { return ecrsim::RunControlLine(host_.sim, line); }
};

TEST_F(RegisterSettingsSim, EachCommandChangesWhatTheRegisterShows) {
  ASSERT_EQ(Run("APRIPROG FUNZIONE"), 0);
  ASSERT_EQ(Run("OPZIONI OPZ01='ABC', OPZ02=7, OPZ16=2, OPZ17=12, OPZ27=1"), 0);
  const std::uint8_t* block = EcrRecord(1).Block2Data;  // read again after the records
  EXPECT_EQ(std::string(block, block + 3), "ABC");
  EXPECT_EQ(block[3], 7);
  EXPECT_EQ(block[4] & 1, 1);
  EXPECT_EQ(block[6], 0x12);
  // Option 16 is on in the register now: option 17 is keyed without it.
  ASSERT_EQ(Run("OPZIONI OPZ17=34"), 0);
  EXPECT_EQ(EcrRecord(1).Block2Data[6], 0x34);

  ASSERT_EQ(Run("VALUTA NUMERO=2, DESCRIZ='DOLLARO', CAMBIO=1.1"), 0);
  EXPECT_EQ(Control("table 1 8 2"), "\n312E31\n\n444F4C4C41524F\nOK\n");
  ASSERT_EQ(Run("GRUPPO NUMERO=3, DESCRIZ='PANE'"), 0);
  EXPECT_EQ(Control("table 1 14 3"), "50414E45\nOK\n");
  ASSERT_EQ(Run("CHIUDIPROG"), 0);

  ASSERT_EQ(Run("PERCENT PERC1=100"), 0);
  EXPECT_EQ(Control("function 1 121 1"), "\n3A3030303030303030303030\n3030303731363037\n343932\n32\nOK\n");
  ASSERT_EQ(Run("TAB004 NUMERO=2, VALORE3=1, VALORE4=5"), 0);
  EXPECT_EQ(Control("function 1 3 2"), "31\n35\nOK\n");
  ASSERT_EQ(Run("PARAMETRO NUMERO=5, VALORE=200"), 0);
  EXPECT_EQ(Control("parameter 1 5"), "200\nOK\n");
  EXPECT_EQ(Reg().Status().state, 0x01);  // every function ended

  ASSERT_EQ(Control("status 1 transaction 1"), "OK\n");
  for (const char* line : {"PERCENT PERC1=1", "PARAMETRO NUMERO=5, VALORE=1", "TAB004 NUMERO=1"}) {
    Reg().ClearLog();
    EXPECT_EQ(Run(line), 6) << line;
    ASSERT_EQ(Reg().Log().size(), 1u);
    EXPECT_EQ(Reg().Log().front().frame, std::vector<std::uint8_t>{'S'});
  }
}

}  // namespace
}  // namespace quadrel
