// A logo end to end: command 55 packs a GRA picture and uploads it to the
// simulated register, which unpacks it with its own decoder.
#include <fstream>

#include "commands/printing/gra_picture.h"
#include "control/control_commands.h"
#include "sim_command_fixture.h"

namespace quadrel {
namespace {

class LogoUploadSim : public SimCommandTest {
 protected:
  void SetUp() override {
    SimCommandTest::SetUp();
    ASSERT_EQ(Control("set 1 feature 50 1"), "OK\n");
    EcrRecord(1).EcrNumber = 0;  // read again, with logos
  }
  std::string Control(const std::string& line) { return ecrsim::RunControlLine(host_.sim, line); }
};

TEST_F(LogoUploadSim, TheRegisterUnpacksTheLogoToItsSourcePicture) {
  // 20 dots of 1 bit (3 bytes), 2 rows of bytes a row, zero runs across rows, a text line.
  quadrel_test::GraPicture picture{.flags = 0x80, .width = 20, .rows = 60, .repeat = 2, .entries = {{'L', 'O', 0}}};
  std::string expected = "P1\n24 120\n";
  for (int row = 0; row < 120; ++row) {
    for (int byte = 0; byte < 3; ++byte) {
      const std::uint8_t value = row % 7 == 0 ? static_cast<std::uint8_t>(0x81 + row + byte) : 0;
      picture.picture.push_back(value);
      for (int bit = 7; bit >= 0; --bit) expected.push_back((value >> bit) & 1 ? '1' : '0');
    }
    expected.push_back('\n');
  }
  const std::string file = ::testing::TempDir() + "sim_logo.gra";
  const auto gra = quadrel_test::Gra(picture);
  std::ofstream(file, std::ios::binary).write(reinterpret_cast<const char*>(gra.data()),
                                              static_cast<std::streamsize>(gra.size()));
  ASSERT_EQ(Run("LOGO NUMERO=2, FILE='" + file + "', IMPOSTA, VALOREA=50"), 0);
  EXPECT_EQ(Control("logo 1 pbm 2"), expected + "OK\n");
  EXPECT_EQ(Reg().logos.settingA, 50);

  ASSERT_EQ(Control("logo 1 memory 100"), "OK\n");
  EXPECT_EQ(Run("LOGO FILE='" + file + "'"), kResultEcrMemoryOverflow);
  ASSERT_EQ(Control("logo 1 answer 1"), "OK\n");
  EXPECT_EQ(Run("LOGO FILE='" + file + "'"), kResultNoProgrammableGraphic);
  EXPECT_TRUE(Reg().logos.Logo(1).empty());
}

}  // namespace
}  // namespace quadrel
