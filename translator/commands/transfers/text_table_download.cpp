#include "commands/transfers/text_table_download.h"

#include <string>

#include "commands/transfers/transfer_run.h"
#include "config/ecr_config_read.h"
#include "language/result_codes.h"
#include "link/frame_exchange.h"
#include "link/register_link.h"
#include "state/ecr_config.h"
#include "text/code_page.h"
#include "text/out_field.h"
#include "text/text_helpers.h"

namespace quadrel {
namespace {

constexpr std::uint8_t kReadEntry = 19;
constexpr std::uint8_t kClearTable = 20;
constexpr int kValueStart = 5;
constexpr int kWordStart = 3;
constexpr int kEntryDigits = 3;

std::string EntryNumber(int n) {
  std::string out;
  return PadLeft(out, std::to_string(n), kEntryDigits, '0');
}

// 0 for an entry the answer holds whole, else the refusal or the short answer.
int EntryProblem(const FrameBufferData& answer, int amountBytes) {
  if (answer.length >= 2 && answer.data[1] != 0) return RecordRefusal(answer.data[1]);
  if (answer.length < kValueStart + amountBytes) return kClassAnswerLetter | answer.data[0];
  return 0;
}

}  // namespace

int XferTextTableToFile(LineFile& data, LineFile* log, const TransferOptions&) {
  if (const int error = ReadEcrFileInfo()) return error;
  const int count = CurrentRecord().FileInfoB79;
  const int amountBytes = CurrentRecord().AmountBytes;
  TransferRun run(data, log, count);
  for (int n = 1; n <= count; ++n) {
    int error = 0;
    if (!SendFrame4('U', 0, kReadEntry, static_cast<std::uint8_t>(n), error)) return run.Finish(error);
    const FrameBufferData& answer = FrameBuffer();
    if (const int problem = EntryProblem(answer, amountBytes)) {
      run.CountError(problem, true);
      break;
    }
    std::string line;
    EditOutField(line, EntryNumber(n), 0);
    EditOutField(line, BytesToHex({answer.data.data() + kValueStart, static_cast<std::size_t>(amountBytes)}),
                 1);
    EditOutField(line, BytesToHex({answer.data.data() + kWordStart, 2}), 1);
    if (!run.WriteDataLine(line, true)) break;
  }
  return run.Finish(0);
}

int ClearTextTable() {
  int error = 0;
  if (!SendFrame3('U', 0, kClearTable, error)) return error;
  if (FrameBuffer().length >= 2 && FrameBuffer().data[1] != 0) return RecordRefusal(FrameBuffer().data[1]);
  return 0;
}

}  // namespace quadrel
