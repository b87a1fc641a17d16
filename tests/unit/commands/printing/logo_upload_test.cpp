// Logo packing and command 55 against the scripted host: the DIS_XX record of
// a GRA picture, the chunks, the end frame and the register's verdicts.
#include "commands/printing/logo_upload.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "commands/printing/gra_logo.h"
#include "commands/printing/gra_picture.h"
#include "definition_text.h"
#include "run/command_executor.h"
#include "run/key_batch_sender.h"
#include "translator_fixture.h"

namespace quadrel {
namespace {

using quadrel_test::Bytes;
using quadrel_test::bytes;
using quadrel_test::Gra;
using quadrel_test::status_idle;

Bytes Packed(const Bytes& gra) {
  std::vector<std::uint8_t> record;
  PackGraLogo(record, gra);
  return record;
}

const Bytes kName = {'D', 'I', 'S', '_', 'X', 'X', 0};

Bytes Concat(std::initializer_list<Bytes> parts) {
  Bytes out;
  for (const Bytes& part : parts) out.insert(out.end(), part.begin(), part.end());
  return out;
}

TEST(GraLogo, PictureBytesAreZeroRunCodedAcrossRowsAndClosedAtTheEnd) {
  struct RunRow {
    Bytes picture;
    Bytes coded;
  };
  const RunRow rows[] = {
      {{7, 0, 9}, {7, 0, 1, 9}},
      {Concat({Bytes(255, 0), {5}}), {0, 255, 5}},
      {Concat({{5}, Bytes(256, 0)}), {5, 0, 255, 0, 1}},
      {Bytes(300, 0), {0, 255, 0, 45}},
  };
  for (const RunRow& row : rows) {
    // One byte a row: the runs cross the rows.
    const Bytes gra = Gra({.rows = static_cast<int>(row.picture.size()), .picture = row.picture});
    EXPECT_EQ(Packed(gra),
              Concat({{0, 1, static_cast<std::uint8_t>(row.picture.size()), 0, 0}, kName, row.coded}));
  }
  EXPECT_EQ(GraRowBytes(12, 1), 2u);  // a remainder of 4 dots makes a byte
  EXPECT_EQ(GraRowBytes(11, 1), 1u);  // one of 3 is dropped
}

TEST(GraLogo, TextsFollowThePictureCutAtTheLimitAndTheEntry) {
  const Bytes gra = Gra({.version = '3',
                         .flags = 0x80,
                         .rows = 1,
                         .count2 = 1,
                         .repeat = 2,
                         .textLimit = 40,
                         .entries = {Concat({Bytes(36, 'A'), {0}}), {'H', 'I', 0, 'X', 9}},
                         .picture = {0xFF, 0}});
  EXPECT_EQ(Packed(gra), Concat({{0x80, 1, 1, 0, 1, 20, 0, 2, 0, 0},
                                 kName,
                                 {0xFF, 0, 1},
                                 Bytes(36, 'A'),  // the limit passes the entry: its 36 bytes
                                 {0, 1, 9, 'H', 'I', 0}}));
  const Bytes limited =
      Gra({.flags = 0x80, .rows = 1, .textLimit = 2, .entries = {{'A', 'B', 'C', 0}}, .picture = {1}});
  EXPECT_EQ(Packed(limited), Concat({{0x80, 1, 1, 0, 0, 18, 0, 1, 0, 0}, kName, {1, 'A', 'B', 0}}));
}

TEST(GraLogo, ForeignOrShortFilesPackToNothing) {
  Bytes magic = Gra({.picture = {1}});
  magic[0] = 'X';
  Bytes version = Gra({.picture = {1}});
  version[3] = '4';
  for (const Bytes& gra : {magic, version, Gra({.rows = 2, .picture = {1}}), Bytes{'G', 'R', 'A', '2'}}) {
    std::vector<std::uint8_t> record;
    EXPECT_EQ(PackGraLogo(record, gra), 0u);
    EXPECT_TRUE(record.empty());
  }
}

TEST(GraLogo, TheExtensionComesFromTheLastPathComponent) {
  EXPECT_EQ(LogoFileExtension(".\\logo.gra"), "gra");
  EXPECT_EQ(LogoFileExtension("C:\\v1.2\\logo.gra"), "gra");
  EXPECT_EQ(LogoFileExtension("/tmp/v1.2/logo.BIN"), "BIN");
  EXPECT_EQ(LogoFileExtension("logo.old.gra"), "old.gra");
  EXPECT_EQ(LogoFileExtension("C:\\v1.2\\logo"), "");
}

class LogoUpload : public test_support::WithShippedDefinitions<TranslatorTest> {
 protected:
  void SetUp() override {
    TranslatorTest::SetUp();
    EcrRecord(1).EcrNumber = 1;
    EcrRecord(1).FeatureLevels[50] = 1;
    host.expect("S").answer(0, status_idle());
  }
  static std::string File(const std::string& name, const Bytes& content) {
    const std::string path = ::testing::TempDir() + name;
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(content.data()), static_cast<std::streamsize>(content.size()));
    return path;
  }
  int Run(const std::string& line) { return SendKeyBatch(TradExecCommand(line), nullptr, 0); }
};

Bytes Chunk(int kind, int slot, int offset, const Bytes& logo, std::size_t length) {
  return Concat({{'C', 16, static_cast<std::uint8_t>(kind), static_cast<std::uint8_t>(slot),
                  static_cast<std::uint8_t>(offset), 0},
                 Bytes(logo.begin() + offset, logo.begin() + offset + static_cast<std::ptrdiff_t>(length))});
}

TEST_F(LogoUpload, ABinFileGoesInChunksOf110AndAnEndFrame) {
  Bytes logo(221);
  for (std::size_t i = 0; i < logo.size(); ++i) logo[i] = static_cast<std::uint8_t>(i * 7);
  const Bytes bin220(logo.begin(), logo.begin() + 220);
  host.expect(Chunk(2, 3, 0, bin220, 110)).answer(0, bytes({'C', 0}));
  host.expect(Chunk(1, 3, 110, bin220, 110)).answer(0, bytes({'C', 0}));
  host.expect(bytes({'C', 16, 1, 3})).answer(0, bytes({'C', 0}));
  EXPECT_EQ(Run("LOGO NUMERO=3, FILE='" + File("logo220.bin", bin220) + "', PRIMO"), 0);
  EXPECT_EQ(host.pending(), 0);

  SetUp();
  for (int offset : {0, 110}) host.expect(Chunk(1, 1, offset, logo, 110)).answer(0, bytes({'C', 0}));
  host.expect(Chunk(1, 1, 220, logo, 1)).answer(0, bytes({'C', 0}));
  host.expect(bytes({'C', 16, 1, 1})).answer(0, bytes({'C', 0}));
  EXPECT_EQ(Run("LOGO FILE='" + File("logo221.BIN", logo) + "'"), 0);
  EXPECT_EQ(host.pending(), 0);
}

TEST_F(LogoUpload, SettingsAloneAndTheRegistersVerdicts) {
  host.expect(bytes({'C', 16, 99, 75, 0})).answer(0, bytes({'C', 0}));
  EXPECT_EQ(Run("LOGO IMPOSTA"), 0);
  EXPECT_EQ(host.pending(), 0);

  // A refused chunk ends the upload without an end frame.
  const std::string bin = File("verdict.bin", Bytes(200, 1));
  for (const auto& [answer, result] :
       {std::pair{1, kResultNoProgrammableGraphic}, {5, kResultEcrMemoryOverflow}}) {
    SetUp();
    host.expect(bytes({'C', 16, 99, 10, 20})).answer(0, bytes({'C', 0}));
    host.expect("C").answer(0, bytes({'C', 0}));
    host.expect("C").answer(0, bytes({'C', answer}));
    EXPECT_EQ(Run("LOGO IMPOSTA, VALOREA=10, VALOREB=20, FILE='" + bin + "'"), result);
    EXPECT_EQ(host.pending(), 0);
  }
}

TEST_F(LogoUpload, RefusalsSendNothing) {
  const std::string gra = File("refused.gra", Gra({.picture = {1}}));
  const struct {
    std::string line;
    int result;
  } rows[] = {
      {"LOGO IMPOSTA, VALOREA=100", kResultIllegalValue},
      {"LOGO NUMERO=4, FILE='" + gra + "'", kResultIllegalValue},
      {"LOGO FILE='" + File("logo.old.gra", Gra({.picture = {1}})) + "'", kResultIllegalValue},
      {"LOGO FILE='" + File("short.bin", Bytes(31, 1)) + "'", kResultBatchFileOpenError},
      {"LOGO FILE='" + File("large.bin", Bytes(30001, 1)) + "'", kResultBatchFileOpenError},
      {"LOGO FILE='" + File("foreign.gra", Bytes(64, 'X')) + "'", kResultBatchFileOpenError},
      {"LOGO FILE='" + ::testing::TempDir() + "missing.bin'", kResultBatchFileOpenError},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.line);
    const std::size_t before = host.frames().size();
    EXPECT_EQ(Run(row.line), row.result);
    EXPECT_EQ(host.pending(), 0);
    EXPECT_EQ(host.frames().size(), before + 1);  // the status frame alone
    SetUp();
  }
  EcrRecord(1).FeatureLevels[50] = 0;
  EXPECT_EQ(Run("LOGO IMPOSTA"), kResultNoProgrammableGraphic);
}

}  // namespace
}  // namespace quadrel
