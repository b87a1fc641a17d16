#include "commands/transfers/transfer_options.h"

#include <cctype>
#include <string>
#include <vector>

#include "language/command_field_values.h"
#include "language/result_codes.h"
#include "text/code_page.h"

namespace quadrel {
namespace {

enum TransferSlot : int {
  kResetSlot = 4,
  kClearSlot = 5,
  kStandBySlot = 6,
  kAppendSlot = 7,
  kBannerSlot = 8,
  kArticleOptionSlot = 9,
  kArticleSelectionSlot = 10,
  kSelectionNumberSlot = 11,
  kSelectionDataSlot = 12,
  kCaptureModeSlot = 13,
  kHostRequestsSlot = 14,
  kFlushSlot = 16,
  kCommandLinesSlot = 17,
};

constexpr int kMaxSelectionNumber = 9999;
constexpr std::size_t kSelectionDataDigits = 6;

struct ModeName {
  std::string_view keyword;
  TransferMode mode;
};

constexpr ModeName kModes[] = {
    {"UA", TransferMode::UploadArticles},      {"DA", TransferMode::DownloadArticles},
    {"UO", TransferMode::UploadOFile},         {"DO", TransferMode::DownloadOFile},
    {"DM", TransferMode::DownloadDataCollect}, {"RM", TransferMode::ResetDataCollect},
    {"DT", TransferMode::DownloadTextTable},   {"DF", TransferMode::DownloadDescriptions},
    {"RA", TransferMode::ResetArticles},
};

std::uint8_t BcdByte(int value) {
  return static_cast<std::uint8_t>((value / 10) << 4 | value % 10);
}

// A number slot: 0 when empty; false for anything but a whole number in 0..max.
bool NumberField(int slot, int max, int& value) {
  value = 0;
  if (!FieldGiven(slot)) return true;
  return FieldInteger(slot, value) && value >= 0 && value <= max;
}

int ReadSelection(DataCollectSelection& selection) {
  int number = 0;
  if (FieldGiven(kSelectionNumberSlot) && FieldInteger(kSelectionNumberSlot, number) && number >= 0 &&
      number <= kMaxSelectionNumber) {
    selection.given = true;
    selection.kind = number != 0 ? 1 : 0;
    selection.numberValue = number;
    selection.number = {BcdByte(number / 100), BcdByte(number % 100)};
  }
  const std::string& data = FieldText(kSelectionDataSlot);
  if (data.size() == kSelectionDataDigits) {
    std::string upper = data;
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    std::vector<std::uint8_t> bytes;
    if (!HexToBytes(upper, bytes) || bytes.size() != selection.data.size()) return kResultIllegalValue;
    std::copy(bytes.begin(), bytes.end(), selection.data.begin());
    selection.given = true;
    selection.kind = 1;
  }
  return 0;
}

}  // namespace

bool FindTransferMode(std::string_view keyword, TransferMode& mode) {
  if (keyword.size() != 2) return false;
  const std::string upper{static_cast<char>(std::toupper(static_cast<unsigned char>(keyword[0]))),
                          static_cast<char>(std::toupper(static_cast<unsigned char>(keyword[1])))};
  for (const ModeName& entry : kModes) {
    if (entry.keyword != upper) continue;
    mode = entry.mode;
    return true;
  }
  return false;
}

DataFileUse DataFileUseOf(TransferMode mode) {
  switch (mode) {
    case TransferMode::UploadArticles:
    case TransferMode::UploadOFile:
      return DataFileUse::Read;
    case TransferMode::ResetDataCollect:
    case TransferMode::ResetArticles:
      return DataFileUse::None;
    default:
      return DataFileUse::Write;
  }
}

int ReadTransferOptions(TransferOptions& options) {
  options.resetFirst = FieldIsFlag(kResetSlot);
  options.clear = FieldIsFlag(kClearSlot);
  options.append = FieldIsFlag(kAppendSlot);
  options.banner = FieldIsFlag(kBannerSlot);
  options.hostRequests = FieldIsFlag(kHostRequestsSlot);
  options.flush = FieldIsFlag(kFlushSlot);
  options.commandLines = FieldIsFlag(kCommandLinesSlot);
  if (FieldIsFlag(kStandBySlot))
    options.standByMode = 1;
  else if (FieldGiven(kStandBySlot))
    options.standByMode = FieldLeadingNumber(kStandBySlot);

  int option = 0;
  int selection = 0;
  if (!NumberField(kArticleOptionSlot, 0xFF, option) || !NumberField(kArticleSelectionSlot, 99, selection))
    return kResultIllegalValue;
  options.articleOption = static_cast<std::uint8_t>(option);
  options.articleSelection = BcdByte(selection);

  const std::string& format = FieldText(kCaptureModeSlot);
  options.captureMode = FieldIsFlag(kCaptureModeSlot) || format == "1" ? 1 : format == "2" ? 2 : 0;
  return ReadSelection(options.selection);
}

}  // namespace quadrel
