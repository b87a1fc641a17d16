#include "commands/printing/logo_upload.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <span>
#include <vector>

#include "commands/printing/gra_logo.h"
#include "config/ecr_config_read.h"
#include "files/binary_file.h"
#include "language/command_field_values.h"
#include "language/result_codes.h"
#include "link/frame_exchange.h"
#include "state/ecr_config.h"

namespace quadrel {
namespace {

enum LogoField : int {
  kFieldSlot = 1,
  kFieldFile = 2,
  kFieldSettings = 3,
  kFieldSettingA = 4,
  kFieldSettingB = 5,
  kFieldFirstMarked = 6,
};

constexpr int kLevelLogos = 50;
constexpr std::uint8_t kLogoFrame = 'C', kLogoCode = 16;
constexpr std::uint8_t kPrintSettings = 99, kChunk = 1, kFirstMarkedChunk = 2, kEndOfLogo = 1;
constexpr int kDefaultSettingA = 75, kDefaultSettingB = 0, kMaxSetting = 99;
constexpr int kLastSlot = 3;
constexpr std::size_t kChunkBytes = 110;
constexpr std::size_t kMinFileBytes = 32, kMaxFileBytes = 30000;
constexpr std::uint8_t kAnswerNoLogos = 1;

// Field `slot` from 0 to `high`, `fallback` when not given.
bool ReadField(int slot, int fallback, int low, int high, int& value) {
  value = fallback;
  return !FieldGiven(slot) || (FieldInteger(slot, value) && value >= low && value <= high);
}

// One logo frame and the register's verdict in answer byte 1.
int SendLogoFrame(const std::vector<std::uint8_t>& frame) {
  int error = 0;
  if (!SendEcrFrame(FRAME_PLAIN, frame.data(), static_cast<int>(frame.size()), error)) return error;
  if (FrameBuffer().length < 2) return kClassAnswerLetter | kLogoFrame;  // no verdict byte
  switch (FrameBuffer().data[1]) {
    case 0:
      return 0;
    case kAnswerNoLogos:
      return kResultNoProgrammableGraphic;
    default:
      return kResultEcrMemoryOverflow;
  }
}

int SendPrintSettings() {
  int a = 0, b = 0;
  if (!ReadField(kFieldSettingA, kDefaultSettingA, 0, kMaxSetting, a) ||
      !ReadField(kFieldSettingB, kDefaultSettingB, 0, kMaxSetting, b))
    return kResultIllegalValue;
  return SendLogoFrame({kLogoFrame, kLogoCode, kPrintSettings, static_cast<std::uint8_t>(a),
                        static_cast<std::uint8_t>(b)});
}

// The logo in the register's format: a .BIN file as it is, a .GRA picture packed.
int ReadLogo(const std::string& fileName, std::vector<std::uint8_t>& logo) {
  std::string extension = LogoFileExtension(fileName);
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  if (extension != "GRA" && extension != "BIN") return kResultIllegalValue;
  std::string file;
  if (!ReadFileBytes(fileName, kMaxFileBytes, file) || file.size() < kMinFileBytes) return kResultBatchFileOpenError;
  const auto bytes = std::span(reinterpret_cast<const std::uint8_t*>(file.data()), file.size());
  if (extension == "BIN") {
    logo.assign(bytes.begin(), bytes.end());
    return 0;
  }
  return PackGraLogo(logo, bytes) == 0 ? kResultBatchFileOpenError : 0;
}

int SendLogo(std::uint8_t slot, const std::vector<std::uint8_t>& logo) {
  std::uint8_t kind = FieldIsFlag(kFieldFirstMarked) ? kFirstMarkedChunk : kChunk;
  for (std::size_t offset = 0; offset < logo.size(); offset += kChunkBytes) {
    std::vector<std::uint8_t> frame = {kLogoFrame, kLogoCode, kind, slot, static_cast<std::uint8_t>(offset),
                                       static_cast<std::uint8_t>(offset >> 8)};
    const auto chunk = logo.begin() + static_cast<std::ptrdiff_t>(offset);
    frame.insert(frame.end(), chunk, chunk + static_cast<std::ptrdiff_t>(std::min(kChunkBytes, logo.size() - offset)));
    if (const int sent = SendLogoFrame(frame)) return sent;  // no end frame after a refused chunk
    kind = kChunk;
  }
  return SendLogoFrame({kLogoFrame, kLogoCode, kEndOfLogo, slot});
}

}  // namespace

std::string LogoFileExtension(const std::string& fileName) {
  const std::size_t separator = fileName.find_last_of("\\/:");
  const std::size_t dot = fileName.find('.', separator == std::string::npos ? 0 : separator + 1);
  return dot == std::string::npos ? std::string() : fileName.substr(dot + 1);
}

int CmdUploadLogo() {
  if (const int read = ReadEcrConfig(0)) return read;
  if (CurrentRecord().FeatureLevels[kLevelLogos] == 0) return kResultNoProgrammableGraphic;
  if (FieldIsFlag(kFieldSettings))
    if (const int set = SendPrintSettings()) return set;
  int slot = 0;
  if (!ReadField(kFieldSlot, 1, 1, kLastSlot, slot)) return kResultIllegalValue;
  if (!FieldGiven(kFieldFile)) return 0;
  std::vector<std::uint8_t> logo;
  if (const int read = ReadLogo(FieldText(kFieldFile), logo)) return read;
  return SendLogo(static_cast<std::uint8_t>(slot), logo);
}

}  // namespace quadrel
