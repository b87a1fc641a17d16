// ReadEcrConfig against the register simulator in-process: what a simulated
// register is configured with is what the record decodes.
#include "config/ecr_config_read.h"

#include <gtest/gtest.h>

#include <string>

#include "config/model_table.h"
#include "exports/translator_entry.h"
#include "link/register_link.h"
#include "sim_host.h"

namespace quadrel {
namespace {

using ecrsim::Area;
using ecrsim::RegisterConfig;

class EcrConfigReadTest : public ::testing::Test {
 protected:
  void SetUp() override { host_.Install(); }
  void TearDown() override { ResetProcessState(); }

  ecrsim::SimRegister& Serve(int ecr, const std::string& name) {
    host_.sim.AddRegister(ecr, *ecrsim::BuiltInConfig(name));
    return *host_.sim.Find(ecr);
  }
  // The letters of the frames register `ecr` received, 'U' and 'C' frames with their numbers.
  std::string FrameNames(int ecr) {
    std::string names;
    for (const auto& entry : host_.sim.Find(ecr)->Log()) {
      const auto& f = entry.frame;
      names += static_cast<char>(f[0]);
      if (f[0] == 'U' && f.size() == 3) names += std::to_string(f[2]);
      if ((f[0] == 'C' || f[0] == 'O') && f.size() >= 2) names += std::to_string(f[1]);
      names += ' ';
    }
    return names;
  }

  SimHost host_;
};

// The fields every model with a print width decodes straight from the layout.
void ExpectLayoutDecoded(const EcrConfigRecord& r, const RegisterConfig& c) {
  EXPECT_EQ(r.FirmwareName, c.Text(Area::Identity, 11, 20));
  EXPECT_EQ(r.IdentityE43, c.Byte(Area::Identity, 43) == 'E' ? 1 : 0);
  EXPECT_EQ(r.IdentityByte47, c.Byte(Area::Identity, 47));
  EXPECT_EQ(r.IdentityFlag48, c.Byte(Area::Identity, 48) ? 1 : 0);
  EXPECT_EQ(r.IdentityWord49, c.Word(Area::Identity, 49));
  EXPECT_EQ(r.Decimals, c.Byte(Area::Identity, 62));
  const int options = c.Byte(Area::Identity, 63);
  EXPECT_EQ(r.IdentityBit0, options & 1);
  EXPECT_EQ(r.IdentityBit1, options & 2);
  EXPECT_EQ(r.IdentityBit6, options & 0x40);
  EXPECT_EQ(r.IdentityBit7, options & 0x80);
  EXPECT_EQ(r.ConfigBlockAddress, c.Block1Address());
  EXPECT_EQ(r.ModelCode, c.Text(Area::Identity, 69, 8));
  EXPECT_EQ(r.ModelChar1, c.Text(Area::Identity, 70, 1)[0]);
  EXPECT_EQ(r.ModelChar2, c.Text(Area::Identity, 71, 1)[0]);

  for (int i = 0; i < 12; ++i) EXPECT_EQ(r.FileAddress[i], c.Word(Area::Block1, 1 + 2 * i)) << i;
  EXPECT_EQ(r.AreaAddress[0], c.Word(Area::Block1, 33));
  for (int i = 1; i < 9; ++i) EXPECT_EQ(r.AreaAddress[i], c.Word(Area::Block1, 25 + 2 * i)) << i;
  EXPECT_EQ(r.Block1Word43, c.Word(Area::Block1, 43));
  EXPECT_EQ(r.Block1Byte45, c.Byte(Area::Block1, 45));
  EXPECT_EQ(r.Block1Byte46, c.Byte(Area::Block1, 46));
  EXPECT_EQ(r.Block3Address, c.Block3Address());
  EXPECT_EQ(r.Block1Word61, c.Word(Area::Block1, 61));
  EXPECT_TRUE(std::equal(r.Block2Data, r.Block2Data + 60, c.Data(Area::Block2).begin()));

  EXPECT_EQ(r.Block3Word1, c.Word(Area::Block3, 1));
  EXPECT_EQ(r.Block3Word5, c.Word(Area::Block3, 5));
  EXPECT_EQ(r.Block3Word7, c.Word(Area::Block3, 7));
  EXPECT_EQ(r.Block3Word19, c.Word(Area::Block3, 19));
  EXPECT_EQ(r.RecordTableAddress, c.RecordTableAddress());
  EXPECT_EQ(r.Block5Address, c.Block5Address());
  EXPECT_EQ(r.Block3Word61, c.Word(Area::Block3, 61));
  EXPECT_EQ(r.Block3Word71, c.Word(Area::Block3, 71));
  EXPECT_EQ(r.Block3Word73, c.Word(Area::Block3, 73));
  EXPECT_EQ(r.Block3Word81, c.Word(Area::Block3, 81));
  EXPECT_EQ(r.Block3Byte85, static_cast<std::int8_t>(c.Byte(Area::Block3, 85)));
  const bool block4Levels = c.Byte(Area::Block3, 85) & 1;
  EXPECT_EQ(r.FeatureLevels[0], c.FeatureLevel(0) & 1) << "bit 7 of the first level byte is no level";
  for (int i = 1; i < 128; ++i) {
    EXPECT_EQ(r.FeatureLevels[i], i < 96 || block4Levels ? c.FeatureLevel(i) : 0) << "level " << i;
  }

  EXPECT_EQ(r.PrintWidth, c.Byte(Area::Block4, 33));
  EXPECT_EQ(r.AmountBytes, c.Byte(Area::Block4, 35));
  EXPECT_EQ(r.Block4Byte36, c.Byte(Area::Block4, 36));
  EXPECT_EQ(r.RecordCount, c.Byte(Area::Block4, 37));
  EXPECT_EQ(r.Block4Byte38, c.Byte(Area::Block4, 38));
  EXPECT_EQ(r.Block4Byte39, c.Byte(Area::Block4, 39));
  EXPECT_EQ(r.BcdBytesA, c.Byte(Area::Block4, 40));
  EXPECT_EQ(r.BcdBytesB, c.Byte(Area::Block4, 41));
  EXPECT_EQ(r.Block4Byte43, c.Byte(Area::Block4, 43));
  EXPECT_EQ(r.Block4Byte48, c.Byte(Area::Block4, 48));
  EXPECT_EQ(r.GraphicMode, c.Byte(Area::Block4, 49));

  for (int i = 0; i < 50; ++i) {
    if (i == 14 && !r.IdentityFlag48) continue;
    EXPECT_EQ(r.Block5Data[i], c.Data(Area::Block5)[i]) << i;
  }
  EXPECT_EQ(r.Block5Data[14], r.IdentityFlag48 ? c.Data(Area::Block5)[14] : 0xFF);

  EXPECT_EQ(r.CodeBytes, c.Byte(Area::OutputSettings, 9) & 0x0F);
  EXPECT_EQ(r.OutputSettingBit4, c.Byte(Area::OutputSettings, 9) & 0x10);
}

void ExpectFileInfoDecoded(const EcrConfigRecord& r, const RegisterConfig& c) {
  auto triple = [&](int n) { return static_cast<int>(c.Number(Area::FileInfo, n, 3)); };
  auto word = [&](int n) { return static_cast<int>(c.Word(Area::FileInfo, n)); };
  auto byte = [&](int n) { return static_cast<int>(c.Byte(Area::FileInfo, n)); };
  EXPECT_EQ(r.InfoStatus, 0);
  EXPECT_TRUE(std::equal(r.InfoBlock0, r.InfoBlock0 + 48, c.Data(Area::Info0).begin() + 1));
  EXPECT_TRUE(std::equal(r.FileInfoRaw, r.FileInfoRaw + 84, c.Data(Area::FileInfo).begin() + 1));
  EXPECT_EQ(r.FileInfo2, triple(2));
  EXPECT_EQ(r.FileInfo5, triple(5));
  EXPECT_EQ(r.FileInfo8, word(8));
  EXPECT_EQ(r.FileInfo10, word(10));
  EXPECT_EQ(r.FileInfo12, word(12));
  EXPECT_EQ(r.FileFlags, byte(15));
  EXPECT_EQ(r.FileFlag1, byte(15) & 1);
  EXPECT_EQ(r.FileFlag2, byte(15) & 2);
  EXPECT_EQ(r.FileFlag4, byte(15) & 4);
  EXPECT_EQ(r.FileFlag8, byte(15) & 8);
  EXPECT_EQ(r.FileInfoB16, byte(16));
  EXPECT_EQ(r.FileInfoB17, byte(17));
  EXPECT_EQ(r.FileInfoB18, byte(18));
  EXPECT_EQ(r.FileInfoB19, byte(19));
  EXPECT_EQ(r.FileInfoB20, byte(20));
  EXPECT_EQ(r.FileInfoB22, byte(22));
  EXPECT_EQ(r.FileInfoB23, byte(23));
  EXPECT_EQ(r.FileInfoB24, byte(24) ? byte(24) : byte(23));
  EXPECT_EQ(r.FileInfo30, triple(30));
  EXPECT_EQ(r.FileInfo33, triple(33));
  EXPECT_EQ(r.FileInfo36, triple(36));
  EXPECT_EQ(r.FileInfo39, triple(39));
  EXPECT_EQ(r.FileInfo42, triple(42));
  EXPECT_EQ(r.FileInfo45, word(45));
  EXPECT_EQ(r.FileInfoB47, byte(47));
  EXPECT_EQ(r.FileInfo56, word(56));
  EXPECT_EQ(r.FileInfo58, word(58));
  EXPECT_EQ(r.FileInfo66, triple(66));
  EXPECT_EQ(r.FileInfo69, word(69));
  EXPECT_EQ(r.FileInfoB78, byte(78));
  EXPECT_EQ(r.FileInfoB79, byte(79));
  EXPECT_EQ(r.FileInfoB80, byte(80));
  EXPECT_EQ(r.FileInfoW81, word(81));
  EXPECT_EQ(r.FileInfoB83, byte(83));
}

// ---- the built-in models ----

TEST_F(EcrConfigReadTest, ModelT72DecodesEveryFieldAndReadsTheWholeSequence) {
  const RegisterConfig& c = Serve(1, "t72").Config();
  ASSERT_EQ(ReadEcrConfig(0), 0);
  const EcrConfigRecord& r = EcrRecord(1);
  EXPECT_EQ(r.EcrNumber, 1);
  ExpectLayoutDecoded(r, c);
  ExpectFileInfoDecoded(r, c);
  EXPECT_EQ(FrameNames(1), "T D D D D O17 D C3 C15 U0 U1 U31 U24 ");

  // Identity block with byte 1 = 4 names the identifier.
  EXPECT_EQ(std::string(r.EcrId), c.Text(Area::IdentityBlock, 4, 11));
  EXPECT_EQ(r.ModelLetter, 'T');
  EXPECT_EQ(r.ModelSubLetter, ' ');
  EXPECT_EQ(r.Version, 72);
  EXPECT_EQ(r.FirmwareLevel, 72);
  EXPECT_EQ(r.ModelChar1IsLetter, 0);
  EXPECT_EQ(r.ModelLimitA, 52);
  EXPECT_EQ(r.ModelLimitD, 121);
  EXPECT_EQ(r.ModelFlag, 0);
  EXPECT_EQ(r.TextWidthA, 16);
  // Defaulted and level-dependent block 4 fields.
  EXPECT_EQ(r.Block4Width42, c.Byte(Area::Block4, 61));  // level 118
  EXPECT_EQ(r.Block4Byte57, 2);                          // 0 with level 85
  EXPECT_EQ(r.LineParam, 10);                            // byte 58 is 0, level 57 set
  EXPECT_EQ(r.Block4Width59, c.Byte(Area::Block4, 59));
  EXPECT_EQ(r.Block4Width60, r.AmountBytes);  // 0 becomes AmountBytes
  EXPECT_EQ(r.OutputWidth, 40);               // model T 72 prints 40 columns
  EXPECT_EQ(r.ExtInfoA, 1);
  EXPECT_EQ(r.ExtInfoB, 1);
  EXPECT_EQ(r.CodeDigits, 24);
  EXPECT_EQ(r.HasFeature115, 1);
  EXPECT_EQ(r.HasInfoFrames, c.FeatureLevel(7));
  // Long settings answer, setting 15 as signed bytes.
  EXPECT_EQ(r.OutputSettingB, c.Byte(Area::OutputSettings, 10) & 0x0F);
  EXPECT_EQ(r.OutputSettingC, c.Byte(Area::OutputSettings, 10) & 0x30);
  EXPECT_EQ(r.Setting15Read, 1);
  EXPECT_EQ(r.Setting15, static_cast<std::int8_t>(c.Byte(Area::Setting15, 1)) +
                             256 * static_cast<std::int8_t>(c.Byte(Area::Setting15, 2)));
  EXPECT_LT(r.Setting15, 0);
  // 'U' 0 31 and 'U' 0 24.
  EXPECT_EQ(r.Ext31W11, c.Word(Area::Ext31, 11));
  EXPECT_EQ(r.Ext31W78, c.Word(Area::Ext31, 78));
  EXPECT_EQ(r.Ext31ConstB, 61);
  EXPECT_EQ(r.InfoFrame24Ok, 1);
}

TEST_F(EcrConfigReadTest, ModelS12WithoutInformationFramesStopsAfterTheSettings) {
  const RegisterConfig& c = Serve(1, "s12").Config();
  ASSERT_EQ(ReadEcrConfig(0), 0);
  const EcrConfigRecord& r = EcrRecord(1);
  ExpectLayoutDecoded(r, c);
  EXPECT_EQ(FrameNames(1), "T D D D D D C3 ");
  EXPECT_EQ(std::string(r.EcrId), c.Text(Area::Identity, 1, 10));
  EXPECT_EQ(r.ModelLetter, 'S');
  EXPECT_EQ(r.ModelSubLetter, 'B');
  EXPECT_EQ(r.Version, 12);
  EXPECT_EQ(r.FirmwareLevel, 12);
  EXPECT_EQ(r.ModelLimitA, 499);
  EXPECT_EQ(r.ModelLimitD, 201);
  EXPECT_EQ(r.ModelLimitE, 63);
  EXPECT_EQ(r.ModelLimitF, 32);
  EXPECT_EQ(r.Block4Width42, c.Byte(Area::Block4, 42));
  EXPECT_EQ(r.Block4Byte57, c.Byte(Area::Block4, 57));
  EXPECT_EQ(r.LineParam, c.Byte(Area::Block4, 58));
  EXPECT_EQ(r.Block4Width59, r.Block4Byte36);  // 0 becomes Block4Byte36
  EXPECT_EQ(r.CodeDigits, 16);
  EXPECT_EQ(r.OutputWidth, 24);
  // Short settings answer.
  EXPECT_EQ(r.OutputSettingB, 5);
  EXPECT_EQ(r.OutputSettingC, c.Byte(Area::OutputSettings, 9) & 0x20);
  EXPECT_EQ(r.Setting15Read, 0);
  // The file information keeps its defaults.
  EXPECT_EQ(r.HasInfoFrames, 0);
  EXPECT_EQ(r.FileInfoB17, 16);
  EXPECT_EQ(r.FileInfoB18, 6);
  EXPECT_EQ(r.FileFlag2, 1);
}

TEST_F(EcrConfigReadTest, ModelCWithoutPrintWidthTakesTheFixedWidths) {
  Serve(1, "c02");
  ASSERT_EQ(ReadEcrConfig(0), 0);
  const EcrConfigRecord& r = EcrRecord(1);
  EXPECT_EQ(r.ModelLetter, 'C');
  EXPECT_EQ(r.Version, 2);
  EXPECT_EQ(r.PrintWidth, 20);  // below version 3
  EXPECT_EQ(r.RecordCount, 5);
  EXPECT_EQ(r.BcdBytesB, 4);
  EXPECT_EQ(r.Block4Width42, 8);
  EXPECT_EQ(r.Block4Width60, 5);
  EXPECT_EQ(r.OutputWidth, 20);
  EXPECT_EQ(r.ModelLimitA, 499);

  host_.sim.Find(1)->EditConfig().SetText(Area::Identity, 69, 8, "C100A03 ");
  ASSERT_EQ(ReadEcrConfig(READ_CONFIG_FORCE), 0);
  EXPECT_EQ(EcrRecord(1).PrintWidth, 24);
}

TEST_F(EcrConfigReadTest, UnsupportedModelGives5AndLeavesTheRecordInvalid) {
  Serve(1, "m4");
  EXPECT_EQ(ReadEcrConfig(0), kResultVersionNotSupported);
  EXPECT_EQ(EcrRecord(1).EcrNumber, 0);
  EXPECT_EQ(FrameNames(1), "T D D D ");  // stops at the model table
}

TEST_F(EcrConfigReadTest, ModelsThatRefuseForWantOfWidthsOrBlock5Give5) {
  ecrsim::SimRegister& reg = Serve(1, "s12");
  reg.EditConfig().SetNumber(Area::Block4, 33, 1, 0);  // no print width on a model S
  EXPECT_EQ(ReadEcrConfig(0), kResultVersionNotSupported);
  reg.EditConfig().SetNumber(Area::Block4, 33, 1, 24);
  reg.EditConfig().SetNumber(Area::Block3, 59, 2, 0);  // no block 5
  EXPECT_EQ(ReadEcrConfig(0), kResultVersionNotSupported);
  EXPECT_EQ(EcrRecord(1).EcrNumber, 0);
}

TEST_F(EcrConfigReadTest, Model1WithItsKnownFirmwareIsModelS) {
  ecrsim::SimRegister& reg = Serve(1, "s12");
  reg.EditConfig().SetText(Area::Identity, 69, 8, "1000A11 ");
  reg.EditConfig().SetText(Area::Identity, 11, 20, "3.9  KUV 2000");
  ASSERT_EQ(ReadEcrConfig(0), 0);
  EXPECT_EQ(EcrRecord(1).ModelLetter, 'S');
  EXPECT_EQ(EcrRecord(1).ModelLimitD, 201);
  reg.EditConfig().SetText(Area::Identity, 11, 20, "3.9  KUW 2000");
  ASSERT_EQ(ReadEcrConfig(READ_CONFIG_FORCE), 0);
  EXPECT_EQ(EcrRecord(1).ModelLetter, '1');
}

TEST_F(EcrConfigReadTest, ModelZAndOldModel2TakeTheirIdentifiersElsewhere) {
  ecrsim::SimRegister& reg = Serve(1, "s12");
  reg.EditConfig().SetText(Area::Identity, 69, 8, "Z000A10 ");
  ASSERT_EQ(ReadEcrConfig(0), 0);
  EXPECT_EQ(std::string(EcrRecord(1).EcrId), reg.Config().Text(Area::Identity, 77, 18));
  reg.EditConfig().SetText(Area::Identity, 69, 8, "2000A39 ");
  ASSERT_EQ(ReadEcrConfig(READ_CONFIG_FORCE), 0);
  EXPECT_EQ(std::string(EcrRecord(1).EcrId),
            reg.Config().Text(Area::Identity, 77, 2) + reg.Config().Text(Area::Identity, 1, 10));
}

// ---- the cache ----

TEST_F(EcrConfigReadTest, ValidRecordIsACacheHitUntilForcedOrClosed) {
  Serve(1, "t72");
  ASSERT_EQ(ReadEcrConfig(0), 0);
  const int frames = host_.FramesTo(1);
  EXPECT_EQ(ReadEcrConfig(0), 0);
  EXPECT_EQ(host_.FramesTo(1), frames);
  EXPECT_EQ(ReadEcrConfig(READ_CONFIG_FORCE), 0);
  EXPECT_EQ(host_.FramesTo(1), 2 * frames);
  TradClose();
  EXPECT_EQ(EcrRecord(1).EcrNumber, 0);
  CurrentEcr() = 1;
  EXPECT_EQ(ReadEcrConfig(0), 0);
  EXPECT_EQ(host_.FramesTo(1), 3 * frames);
}

TEST_F(EcrConfigReadTest, RecordTableIsReadRecordByRecordOnRequest) {
  const RegisterConfig& c = Serve(1, "t72").Config();
  ASSERT_EQ(ReadEcrConfig(READ_CONFIG_FORCE | READ_CONFIG_RECORD_TABLE), 0);
  const int records = c.Byte(Area::Block4, 37);
  std::string recordReads;
  for (int i = 0; i < records; ++i) recordReads += "D ";
  EXPECT_EQ(FrameNames(1), "T D D D D " + recordReads + "O17 D C3 C15 U0 U1 U31 U24 ");
  const auto& log = host_.sim.Find(1)->Log();
  const auto& lastRecord = log[4 + records].frame;  // after T and blocks 1-4
  const int address = c.RecordTableAddress() + (records - 1) * c.Byte(Area::Block4, 33);
  EXPECT_EQ(lastRecord, (std::vector<std::uint8_t>{'D', static_cast<std::uint8_t>(address),
                                                   static_cast<std::uint8_t>(address >> 8), 40}));
}

// ---- failures ----

TEST_F(EcrConfigReadTest, FailedFrameAnywhereInTheSequenceGives4AndAnInvalidRecord) {
  ecrsim::SimRegister& reg = Serve(1, "t72");
  ASSERT_EQ(ReadEcrConfig(0), 0);
  const int frames = host_.FramesTo(1);
  for (int failing = 0; failing < frames; ++failing) {
    reg.ClearLog();
    reg.AddFault({ecrsim::FaultKind::HostResult, 4, 1, failing});
    const int result = ReadEcrConfig(READ_CONFIG_FORCE);
    const std::vector<std::uint8_t>& frame = reg.Log()[failing].frame;
    // Optional frames: 'U' 0 31, setting 15, and the identity block (the identifier stays as it is).
    const bool optional =
        (frame[0] == 'U' && frame[2] == 31) || (frame[0] == 'C' && frame[1] == 15) || frame[0] == 'O';
    EXPECT_EQ(result, optional ? 0 : kResultConfigReadError) << "frame " << failing;
    EXPECT_EQ(EcrRecord(1).EcrNumber, result == 0 ? 1 : 0);
  }
}

TEST_F(EcrConfigReadTest, ShortAnswersAreReadErrorsNotStaleBytes) {
  ecrsim::SimRegister& reg = Serve(1, "t72");
  // The identity cut before the model code; a block one byte short; the file information short.
  for (int skip : {0, 3, 10}) {
    reg.AddFault({ecrsim::FaultKind::ShortAnswer, skip == 0 ? 70 : (skip == 3 ? 112 : 60), 0, skip});
    EXPECT_EQ(ReadEcrConfig(READ_CONFIG_FORCE), kResultConfigReadError) << skip;
    reg.ClearFaults();
  }
}

TEST_F(EcrConfigReadTest, HostStatusFailureGives512PlusItsCodeBeforeAnyFrame) {
  Serve(1, "t72");
  host_.statusResult = 7;
  EXPECT_EQ(ReadEcrConfig(0), 512 + 7);
  EXPECT_EQ(host_.FramesTo(1), 0);
  host_.statusResult = 0;
  EXPECT_EQ(ReadEcrConfig(0), 0);
  EXPECT_EQ(host_.statusExCalls, 1);  // only the read that got past the status
}

TEST_F(EcrConfigReadTest, NonzeroInformationStatusEndsTheReadSuccessfully) {
  ecrsim::SimRegister& reg = Serve(1, "t72");
  reg.EditConfig().SetNumber(Area::FileInfo, 1, 1, 3);
  ASSERT_EQ(ReadEcrConfig(0), 0);
  EXPECT_EQ(EcrRecord(1).InfoStatus, 3);
  EXPECT_EQ(FrameNames(1), "T D D D D O17 D C3 C15 U0 U1 ");
}

TEST_F(EcrConfigReadTest, FileInfoReadAgainLeavesTheFieldsOnlyTheFullReadFills) {
  ecrsim::SimRegister& reg = Serve(1, "t72");
  ASSERT_EQ(ReadEcrConfig(0), 0);
  const int oldFileInfo2 = EcrRecord(1).FileInfo2;
  reg.EditConfig().SetNumber(Area::FileInfo, 2, 3, 0x0A0B0C);
  reg.EditConfig().SetNumber(Area::FileInfo, 8, 2, 0x1234);
  EXPECT_EQ(ReadEcrFileInfo(), 0);
  EXPECT_EQ(EcrRecord(1).FileInfo8, 0x1234);
  EXPECT_EQ(EcrRecord(1).FileInfo2, oldFileInfo2);
  reg.EditConfig().SetNumber(Area::FileInfo, 1, 1, 2);
  EXPECT_EQ(ReadEcrFileInfo(), kResultDownloadOpenError);
  reg.AddFault({ecrsim::FaultKind::HostResult, 2, 5});
  EXPECT_EQ(ReadEcrFileInfo(), 512 + 5);
}

// ---- TradInit's reads ----

TEST_F(EcrConfigReadTest, MultiRegisterInitReadsOnlyPresentRegistersAndFillsTheDefaultSlot) {
  Serve(1, "s12");
  Serve(3, "t72");
  Serve(4, "t72");
  host_.MarkPresentRegisters();
  host_.info().presenceFlags[4] = 0;  // served, but the host does not offer it
  Library().TradFlags = TRADF_MULTI_ECR;
  CurrentEcr() = 1;
  EXPECT_EQ(ReadEcrConfigsAtInit(), 0);
  EXPECT_EQ(EcrRecord(1).EcrNumber, 1);
  EXPECT_EQ(EcrRecord(3).EcrNumber, 3);
  EXPECT_EQ(EcrRecord(2).EcrNumber, 0);
  EXPECT_EQ(host_.FramesTo(4), 0);
  EXPECT_EQ(EcrRecord(0).EcrNumber, 1);
  EXPECT_STREQ(EcrRecord(0).EcrId, EcrRecord(1).EcrId);
  EXPECT_EQ(CurrentEcr(), 1);
}

TEST_F(EcrConfigReadTest, SingleRegisterInitReadsRegister1Only) {
  Serve(1, "m4");
  Serve(2, "t72");
  host_.MarkPresentRegisters();
  EXPECT_EQ(ReadEcrConfigsAtInit(), kResultVersionNotSupported);
  EXPECT_EQ(host_.FramesTo(2), 0);
  EXPECT_EQ(EcrRecord(0).EcrNumber, 0);
}

}  // namespace
}  // namespace quadrel
