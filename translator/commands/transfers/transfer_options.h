// What a file transfer command line asks for: the mode, how its data file is
// opened, and the options of the workers, read from the parameter slots.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace quadrel {

enum class TransferMode {
  UploadArticles,
  DownloadArticles,
  UploadOFile,
  DownloadOFile,
  DownloadDataCollect,
  ResetDataCollect,
  DownloadTextTable,
  DownloadDescriptions,
  ResetArticles,
};

enum class DataFileUse { None, Read, Write };

// The mode named by `keyword` (case ignored); false for an unknown keyword
// and for the two modes the register cannot do ("UC", "DC").
bool FindTransferMode(std::string_view keyword, TransferMode& mode);
DataFileUse DataFileUseOf(TransferMode mode);

// The data-collect selection of "DM".
struct DataCollectSelection {
  bool given = false;
  int kind = 0;                          // 1: number and data are sent
  std::array<std::uint8_t, 2> number{};  // BCD
  std::array<std::uint8_t, 3> data{};
  int numberValue = 0;
};

struct TransferOptions {
  bool resetFirst = false;  // uploads reset the register file first
  bool clear = false;       // downloads clear what they transferred
  int standByMode = -1;     // -1: no stand-by
  bool append = false;
  bool banner = false;
  std::uint8_t articleOption = 0;     // bit 0: codes only
  std::uint8_t articleSelection = 0;  // BCD
  DataCollectSelection selection;
  int captureMode = 0;  // FormatDataCaptureRecord mode of "DM"
  bool hostRequests = false;
  bool flush = false;
  bool commandLines = false;
};

constexpr std::uint8_t kCodesOnly = 0x01;

// Reads the option slots 4 to 17: 0, or kResultIllegalValue for a value the
// register cannot be sent.
int ReadTransferOptions(TransferOptions& options);

}  // namespace quadrel
