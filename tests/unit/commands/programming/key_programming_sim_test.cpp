// Key programming and slave mode against a simulated register: the key maps
// and macros it keeps, the slave-mode text, and the query it refuses outside
// the REG position.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "definition_text.h"
#include "language/definition_tables.h"
#include "run/command_executor.h"
#include "run/key_batch_sender.h"
#include "sim_command_fixture.h"
#include "state/ecr_config.h"

namespace quadrel {
namespace {

using Bytes = std::vector<std::uint8_t>;

class KeyProgrammingSim : public SimCommandTest {};

TEST_F(KeyProgrammingSim, KeyMapsAndMacrosAreWritten) {
  EXPECT_EQ(Run("TASTIERA1 POSIZIONE=12, CODICE=203, SEQUENZA='7 8 9 255'"), 0);
  EXPECT_EQ(Reg().keyMaps.Code(0, 12), 203);
  EXPECT_EQ(Reg().keyMaps.Macro(4), (Bytes{7, 8, 9}));
  CurrentRecord().FeatureLevels[95] = 1;  // a second map on both sides
  Reg().EditConfig().SetFeatureLevel(95, 1);
  EXPECT_EQ(Run("TASTIERA2 POSIZIONE=80, CODICE=17"), 0);
  EXPECT_EQ(Reg().keyMaps.Code(1, 80), 17);
  EXPECT_EQ(Reg().keyMaps.Code(0, 80), 0);
}

TEST_F(KeyProgrammingSim, SlaveModeGoesOnWithItsTextAndOff) {
  EXPECT_EQ(Run("SLAVE ATTIVA, TESTO='HOST IN CHARGE'"), 0);
  EXPECT_TRUE(Reg().standBy);
  EXPECT_EQ(std::string(Reg().slaveText.begin(), Reg().slaveText.end()), "HOST IN CHARGE");
  EXPECT_EQ(Run("SLAVE DISATTIVA"), 0);
  EXPECT_FALSE(Reg().standBy);
}

// The register answers the slave-mode query only in REG; the key turns the
// command makes carry no position digit, so the register stays where it is.
TEST_F(KeyProgrammingSim, OutsideRegTheQueryIsRefusedFourTimes) {
  Reg().Status().keyPosition = 3;
  EXPECT_EQ(Run("SLAVE ATTIVA"), 8);
  EXPECT_FALSE(Reg().standBy);
  int queries = 0;
  for (const auto& logged : Reg().Log()) queries += logged.frame == Bytes{'U', 0, 23};
  EXPECT_EQ(queries, 4);
}

}  // namespace
}  // namespace quadrel
