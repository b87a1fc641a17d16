#include "commands/transfers/ofile_download.h"

#include <algorithm>
#include <array>

#include "commands/transfers/ofile_lines.h"
#include "commands/transfers/transfer_run.h"
#include "config/ecr_config_read.h"
#include "language/result_codes.h"
#include "records/record_frame.h"
#include "state/ecr_config.h"

namespace quadrel {
namespace {

constexpr int kAnswerStop = 7;
constexpr int kBodyStart = 4;  // answer bytes 2-3 repeat the record number

}  // namespace

int XferOFileToFile(LineFile& data, LineFile* log, const TransferOptions& options) {
  if (const int error = ReadEcrFileInfo()) return error;
  const int count = CurrentRecord().FileInfo69;
  TransferRun run(data, log, count);
  const ArticleGeometry geometry = CurrentArticleGeometry();
  for (int number = 1; number <= count; ++number) {
    const std::array<std::uint8_t, 2> key = {static_cast<std::uint8_t>(number & 0xFF),
                                             static_cast<std::uint8_t>(number >> 8)};
    int answer = 0;
    if (const int error = ExchangeRecordRequest(0, kSubOFileRead, key, answer)) return run.Finish(error);
    if (answer == kAnswerStop) break;
    if (answer != kAnswerAccepted) {
      run.CountError(RecordRefusal(answer), true);
      continue;
    }
    const FrameBufferData& reply = FrameBuffer();
    const std::span<const std::uint8_t> body(
        reply.data.data() + kBodyStart, static_cast<std::size_t>(std::max(reply.length - kBodyStart, 0)));
    if (!OFileRecordFits(body, geometry)) {
      run.CountError(kClassAnswerLetter | reply.data[0], true);
      continue;
    }
    const std::string line = options.commandLines ? OFileCommandLine(number, body, geometry)
                                                  : OFileValuesLine(number, body, geometry);
    if (!run.WriteDataLine(line, !options.commandLines)) break;
  }
  return run.Finish(0);
}

}  // namespace quadrel
