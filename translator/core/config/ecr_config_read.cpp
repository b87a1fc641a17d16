#include "config/ecr_config_read.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

#include "config/ecr_config_decode.h"
#include "config/model_table.h"
#include "language/result_codes.h"
#include "link/ecr_readiness.h"
#include "link/frame_exchange.h"
#include "link/register_link.h"
#include "state/ecr_config.h"
#include "state/library_state.h"

namespace quadrel {
namespace {

constexpr int kBlock1Bytes = 64;
constexpr int kBlock2Bytes = 60;
constexpr int kBlock3Bytes = 112;
constexpr int kBlock4Bytes = 64;
constexpr int kBlock5Bytes = 50;

// Function levels the read consults.
constexpr int kLevelInfoFrames = 7;
constexpr int kLevelLineParam = 57;
constexpr int kLevelExt31Off = 78;
constexpr int kLevelExt31 = 85;
constexpr int kLevelSetting15 = 102;
constexpr int kLevelModel6Setup = 105;
constexpr int kLevelExt31B = 114;
constexpr int kLevelFeature115 = 115;
constexpr int kLevelIdentityBlock = 127;

AnswerBytes Answer() {
  const FrameBufferData& buffer = FrameBuffer();
  return {buffer.data.data(), buffer.length};
}

bool ReadBlock(int address, int bytes) {
  int error = 0;
  return ReadEcrMemory(static_cast<std::uint16_t>(address), static_cast<std::uint8_t>(bytes), error);
}

// The record table is read to check the link; its data are not kept.
bool ReadRecordTable(const EcrConfigRecord& r) {
  for (int i = 0; i < r.RecordCount; ++i) {
    if (!ReadBlock(r.RecordTableAddress + i * r.PrintWidth, r.PrintWidth)) return false;
  }
  return true;
}

void ReplaceIdFromIdentityBlock(EcrConfigRecord& r) {
  std::array<std::uint8_t, kIdentityBlockBytes> block{};
  if (!ReadEcrIdentityBlock(block) || block[1] != 4) return;
  std::memcpy(r.EcrId, block.data() + 3, 11);
  r.EcrId[11] = '\0';
}

// Block 4 and what follows from it. The block's answer is copied first: the
// record-table reads reuse the frame buffer.
int ReadBlock4(EcrConfigRecord& r, int force) {
  if (!ReadBlock(r.Block3Address + kBlock3Bytes, kBlock4Bytes)) return kResultConfigReadError;
  std::array<std::uint8_t, 1 + kBlock4Bytes> copy{};
  std::copy_n(FrameBuffer().data.begin(), copy.size(), copy.begin());
  const AnswerBytes block{copy.data(), static_cast<int>(copy.size())};
  const std::uint8_t* levels = r.FeatureLevels;

  DecodeBlock4Levels(r, block);
  r.PrintWidth = block.Byte(33);
  if (r.ModelLetter == '6' && levels[kLevelModel6Setup]) {
    std::int32_t out = 0;
    RequestHostService(ECRIO_SETUP_108, 0, nullptr, nullptr, nullptr, nullptr, &out);
    RequestHostService(ECRIO_SETUP_109, 0, nullptr, nullptr, nullptr, nullptr, &out);
    Library().model6Mode = true;
  }
  r.ExtInfoA = levels[kLevelExt31] && !levels[kLevelExt31Off] ? 1 : 0;
  r.ExtInfoB = levels[kLevelExt31B] ? 1 : 0;
  r.CodeDigits = r.ExtInfoB && levels[kLevelLineParam] ? 24 : 16;
  if (r.PrintWidth != 0) {
    DecodeBlock4Widths(r, block);
  } else if (r.ModelLetter == 'C') {
    ApplyModelCFixedWidths(r);
  } else {
    return kResultVersionNotSupported;
  }
  if (r.ModelLetter == 'K' && !levels[kLevelInfoFrames]) r.ModelFlag = 0;
  if ((force & READ_CONFIG_RECORD_TABLE) && !ReadRecordTable(r)) return kResultConfigReadError;
  r.OutputWidth = OutputWidthFor(r);
  r.HasFeature115 = levels[kLevelFeature115] ? 1 : 0;
  r.HasInfoFrames = levels[kLevelInfoFrames];
  return 0;
}

int ReadIdentityAndBlocks(EcrConfigRecord& r, int force) {
  int error = 0;
  if (!SendFrame1('T', error) || Answer().length < kMinIdentityAnswer) return kResultConfigReadError;
  if (!DecodeIdentity(r, Answer(), Library().host.info)) return kResultConfigReadError;

  if (!ReadBlock(r.ConfigBlockAddress, kBlock1Bytes)) return kResultConfigReadError;
  DecodeBlock1(r, Answer());
  if (!ReadBlock(r.AreaAddress[3], kBlock2Bytes)) return kResultConfigReadError;
  std::copy_n(FrameBuffer().data.begin() + 1, kBlock2Bytes, r.Block2Data);
  if (!ReadBlock(r.Block3Address, kBlock3Bytes)) return kResultConfigReadError;
  DecodeBlock3(r, Answer());
  if (const int result = ApplyModelTable(r); result != 0) return result;
  if (const int result = ReadBlock4(r, force); result != 0) return result;

  if (r.FeatureLevels[kLevelIdentityBlock]) ReplaceIdFromIdentityBlock(r);

  if (r.Block5Address == 0) return kResultVersionNotSupported;
  if (!ReadBlock(r.Block5Address, kBlock5Bytes)) return kResultConfigReadError;
  std::copy_n(FrameBuffer().data.begin() + 1, kBlock5Bytes, r.Block5Data);
  if (!r.IdentityFlag48) r.Block5Data[14] = 0xFF;
  if (r.ModelLetter == '6') r.Block5Data[1] = 0xFF;
  return 0;
}

int ReadSettings(EcrConfigRecord& r) {
  int error = 0;
  if (!SendFrame2('C', 3, error) || Answer().length < kMinShortSettingsAnswer) return kResultConfigReadError;
  DecodeOutputSettings(r, Answer());
  r.Setting15Read = 0;
  r.Setting15 = 0;
  if (r.FeatureLevels[kLevelSetting15]) {
    const std::array<std::uint8_t, 5> query = {'C', 15, 2, 5, 0};
    FrameBuffer().Load(query);
    if (SendFrameBuffer(FRAME_PLAIN, error)) {
      r.Setting15Read = 1;
      DecodeSetting15(r, Answer());
    }
  }
  return 0;
}

// Sends 'U' 0 n. 0 when its status byte is 0 and the answer holds `bytes`;
// 1 when the register has no information (status byte kept in InfoStatus);
// -1 when the exchange failed or the answer is short.
int ReadInformation(EcrConfigRecord& r, std::uint8_t n, int bytes) {
  int error = 0;
  if (!SendFrame3('U', 0, n, error) || Answer().length < 2) return -1;
  r.InfoStatus = Answer().Byte(1);
  if (r.InfoStatus != 0) return 1;
  return Answer().length < bytes ? -1 : 0;
}

// The file information. A register that has none is valid without it.
int ReadFileInformation(EcrConfigRecord& r) {
  int outcome = ReadInformation(r, 0, kMinInfo0Answer);
  if (outcome != 0) return outcome < 0 ? kResultConfigReadError : 0;
  std::copy_n(FrameBuffer().data.begin() + 2, sizeof r.InfoBlock0, r.InfoBlock0);

  outcome = ReadInformation(r, 1, kMinFileInfoAnswer);
  if (outcome != 0) return outcome < 0 ? kResultConfigReadError : 0;
  DecodeFileInfo(r, Answer(), true);

  ClearExt31(r);
  if (r.ExtInfoA || r.ExtInfoB) {
    // A failed or short 'U' 0 31 is ignored: the extended information stays 0.
    outcome = ReadInformation(r, 31, kMinExt31Answer);
    if (outcome > 0) return 0;
    if (outcome == 0) DecodeExt31(r, Answer());
  }

  r.InfoFrame24Ok = 0;
  int error = 0;
  if (!SendFrame3('U', 0, 24, error) || Answer().length < 2) return kResultConfigReadError;
  r.InfoFrame24Ok = Answer().Byte(1) == 0 ? 1 : 0;
  return 0;
}

int ReadSequence(EcrConfigRecord& r, int force) {
  if (const int result = ReadIdentityAndBlocks(r, force); result != 0) return result;
  if (const int result = ReadSettings(r); result != 0) return result;
  if (!r.HasInfoFrames) return 0;
  return ReadFileInformation(r);
}

bool PresentOnHost(const HostInfoRecord* host, int ecr) {
  return host && host->presenceFlags && (host->presenceFlags[ecr] & 1);
}

}  // namespace

int ReadEcrConfig(int force) {
  const int ecr = CurrentEcr();
  if (ecr < 1 || ecr > kMaxEcr) return kResultConfigReadError;
  EcrConfigRecord& record = EcrRecord(ecr);
  if (record.EcrNumber != 0 && !(force & READ_CONFIG_FORCE)) return 0;
  record.EcrNumber = 0;

  if (HostHasStatus()) {
    int flags = 0;
    if (const int n = AskHostStatus(1, flags); n != 0) return HostLinkError(n);
  }
  if (const HostInfoRecord* host = Library().host.info; host && host->statusEx) {
    // Asked once before the read, as the host expects; its answer is not used.
    int status = 0;
    int length = 0;
    std::array<std::uint8_t, kHostStatusExBytes> bytes{};
    host->statusEx(ecr, 0, &status, &length, bytes.data());
  }
  const int result = ReadSequence(record, force);
  if (result == 0) record.EcrNumber = ecr;
  return result;
}

int ReadEcrFileInfo() {
  const int ecr = CurrentEcr();
  if (ecr < 1 || ecr > kMaxEcr) return kResultConfigReadError;
  int error = 0;
  if (!SendFrame3('U', 0, 1, error)) return error;
  const AnswerBytes answer = Answer();
  if (answer.length < 2) return kClassAnswerLetter | answer.Byte(0);
  if (answer.Byte(1) != 0) return kResultDownloadOpenError;
  if (answer.length < kMinFileInfoAnswer) return kClassAnswerLetter | answer.Byte(0);
  DecodeFileInfo(EcrRecord(ecr), answer, false);
  return 0;
}

int ReadEcrConfigsAtInit() {
  const HostInfoRecord* host = Library().host.info;
  const bool multi = (Library().TradFlags & TRADF_MULTI_ECR) && host && host->presenceFlags;
  const int savedEcr = CurrentEcr();
  bool anyRead = false;
  int firstError = 0;
  for (int ecr = 1; ecr <= (multi ? kMaxEcr : 1); ++ecr) {
    if (multi && !PresentOnHost(host, ecr)) continue;
    CurrentEcr() = ecr;
    const int result = ReadEcrConfig(0);
    if (result == 0) {
      anyRead = true;
      if (EcrRecord(0).EcrNumber == 0) EcrRecord(0) = EcrRecord(ecr);
    } else if (firstError == 0) {
      firstError = result;
    }
  }
  CurrentEcr() = savedEcr;
  return anyRead ? 0 : firstError;
}

}  // namespace quadrel
