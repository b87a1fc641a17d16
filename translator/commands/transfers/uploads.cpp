#include "commands/transfers/uploads.h"

#include <algorithm>
#include <filesystem>
#include <string>
#include <system_error>

#include "commands/transfers/transfer_run.h"
#include "commands/transfers/upload_lines.h"
#include "language/command_field_values.h"
#include "language/command_line.h"
#include "language/message_tables.h"
#include "language/result_codes.h"
#include "language/result_text.h"
#include "link/frame_exchange.h"
#include "link/register_link.h"

namespace quadrel {
namespace {

constexpr std::uint8_t kResetArticles = 15;
constexpr std::uint8_t kResetOFile = 16;
constexpr int kDataFileSlot = 2;
constexpr int kMaxLineLength = 2047;
constexpr int kLineEndBytes = 2;

using LineSender = int (*)(std::string_view line);

int Reset(std::uint8_t what) {
  int error = 0;
  if (!SendFrame3('U', 0, what, error)) return error;
  const FrameBufferData& answer = FrameBuffer();
  return answer.length < 2 || answer.data[1] != 0 ? kResultArticlesResetError : 0;
}

int Upload(LineFile& data, LineFile* log, const TransferOptions& options, std::uint8_t reset,
           LineSender send) {
  if (options.resetFirst) {
    if (const int error = Reset(reset)) return error;
  }
  TransferRun run(data, log, 0);
  std::error_code ignored;
  const auto size = std::filesystem::file_size(FieldText(kDataFileSlot), ignored);
  std::uintmax_t bytesRead = 0;
  int linesRead = 0;
  std::string line;
  std::string normal;
  int read = 0;
  while ((read = ReadLine(data, line, kMaxLineLength, kUploadReadSlot)) >= 0) {
    bytesRead += line.size() + kLineEndBytes;
    const int percent =
        size > 0 && !ignored ? static_cast<int>(std::min<std::uintmax_t>(100, bytesRead * 100 / size)) : 0;
    ++linesRead;
    if (NormalizeLine(normal, line) == 0) continue;  // a comment or an empty line
    run.CountLine();
    std::string text = IntMsgTable().Row(kMsgOk);
    if (const int code = send(normal)) {
      Reply().TransferLineError = {true, linesRead};
      text = run.CountError(code, ResultClass(code) != kClassTransferSyntax);
    }
    if (!run.Report(linesRead, percent, text)) break;
  }
  // A file that could not be read to its end is no finished upload.
  return run.Finish(read == LINE_READ_ERROR ? kResultDataFileOpenError : 0);
}

}  // namespace

int XferUploadArticles(LineFile& data, LineFile* log, const TransferOptions& options) {
  return Upload(data, log, options, kResetArticles, XferArticleLine);
}

int XferUploadOFile(LineFile& data, LineFile* log, const TransferOptions& options) {
  return Upload(data, log, options, kResetOFile, XferOFileLine);
}

}  // namespace quadrel
