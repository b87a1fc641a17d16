#include "config/model_table.h"

#include <cstring>
#include <string_view>

namespace quadrel {
namespace {

constexpr std::string_view kModelSFirmwareA = "3.9  KUV";    // first 8 characters
constexpr std::string_view kModelSFirmwareB = "1.1  VORPA";  // first 9 characters count

int DigitValue(char c) {
  return c >= '0' && c <= '9' ? c - '0' : 0;
}

bool IsWideTextModel(const EcrConfigRecord& r) {
  return (r.ModelLetter == 'T' || r.ModelLetter == 'W') &&
         (r.Version == 58 || r.Version == 59 || r.Version == 63);
}

// Model '6' level 1: version above 41, or 41 with firmware characters 16-17 of 14 or more.
int Model6LevelFor(const EcrConfigRecord& r) {
  if (r.Version > 41) return 1;
  const int build = 10 * DigitValue(r.FirmwareName[16]) + DigitValue(r.FirmwareName[17]);
  return r.Version == 41 && build >= 14 ? 1 : 0;
}

void SetLargeLimits(EcrConfigRecord& r) {
  r.ModelLimitD = 201;
  r.ModelLimitE = 63;
  r.ModelLimitF = 32;
}

}  // namespace

char EffectiveModelLetter(char letter, const char* firmwareName) {
  if (letter != '1') return letter;
  const std::string_view firmware(firmwareName, strnlen(firmwareName, 20));
  if (firmware.starts_with(kModelSFirmwareA) || firmware.starts_with(kModelSFirmwareB.substr(0, 9)))
    return 'S';
  return letter;
}

void SetTextWidths(EcrConfigRecord& r, const HostInfoRecord* host) {
  if (IsWideTextModel(r)) {
    r.TextWidthA = 20;
    r.TextWidthB = 20;
    return;
  }
  r.TextWidthA = 16;
  r.TextWidthB = host && host->wideText != 0 ? 20 : 16;
}

int ApplyModelTable(EcrConfigRecord& r) {
  r.ModelLimitA = 52;
  r.ModelLimitB = 2;
  r.ModelLimitD = 121;
  r.ModelLimitE = 492;
  r.ModelLimitF = 3;
  r.LineParam = 10;
  r.CodeDigits = 16;
  r.ModelFlag = 0;
  r.ModelLimitC = 0;
  r.Model6Level = 0;
  switch (r.ModelLetter) {
    case '1':
      r.ModelLimitA = r.Version == 14 ? 52 : 499;
      return 0;
    case '2':
    case '3':
    case '8':
    case 'C':
    case 'E':
    case 'J':
    case 'L':
    case 'N':
    case 'Z':
      r.ModelLimitA = 499;
      return 0;
    case '6':
      r.ModelLimitA = 499;
      r.ModelFlag = 1;
      r.Model6Level = Model6LevelFor(r);
      return 0;
    case '7':
    case '9':
    case 'F':
    case 'G':
    case 'W':
      return 0;
    case 'A':
    case 'D':
    case 'H':
      r.ModelFlag = 1;
      SetLargeLimits(r);
      return 0;
    case 'K':
      r.ModelFlag = 1;
      r.ModelLimitC = 4989;
      return 0;
    case 'M':
      r.ModelFlag = 1;
      r.ModelLimitA = 499;
      return 0;
    case 'R':
      SetLargeLimits(r);
      return 0;
    case 'S':
      if (r.Version == 11 || r.Version == 12) r.ModelLimitA = 499;
      SetLargeLimits(r);
      return 0;
    case 'T':
      if (r.Version == 4 || r.Version == 6) r.ModelLimitA = 499;
      return 0;
    default:
      return kResultVersionNotSupported;
  }
}

void ApplyModelCFixedWidths(EcrConfigRecord& r) {
  r.PrintWidth = r.Version < 3 ? 20 : 24;
  r.AmountBytes = 5;
  r.Block4Byte36 = 2;
  r.RecordCount = 5;
  r.Block4Byte38 = 16;
  r.Block4Byte39 = 16;
  r.BcdBytesA = 4;
  r.BcdBytesB = 4;
  r.Block4Width42 = 8;
  r.Block4Byte43 = 4;
  r.Block4Byte48 = 0;
  r.Block4Width59 = 2;
  r.Block4Width60 = 5;
}

int OutputWidthFor(const EcrConfigRecord& r) {
  const bool printsWide = (r.ModelLetter == 'T' && (r.Version == 72 || r.Version == 85)) ||
                          (r.ModelLetter == 'W' && r.Version == 61);
  return r.PrintWidth <= 32 || printsWide ? r.PrintWidth : 32;
}

}  // namespace quadrel
