#include "commands/transfers/xfer_log_banner.h"

#include <string>
#include <string_view>

#include "language/message_tables.h"
#include "platform/platform.h"
#include "state/ecr_config.h"
#include "state/transfer_state.h"

namespace quadrel {

namespace {

constexpr char kCommentMark = ';';

// The characters of a fixed-size record text up to its terminator.
template <std::size_t N>
std::string_view FieldText(const char (&field)[N]) {
  std::size_t length = 0;
  while (length < N && field[length] != '\0') ++length;
  return {field, length};
}

std::string LogLine(int row, std::string_view value) {
  std::string line(1, kCommentMark);
  line += IntMsgTable().Row(row);
  line += value;
  return line;
}

// The date and the time in the system locale's formats, each at most 20 characters.
std::string DateTimeText() {
  constexpr std::size_t kPartMax = 20;
  return platform::LocalDateText().substr(0, kPartMax) + ' ' + platform::LocalTimeText().substr(0, kPartMax);
}

bool WriteHeader(LineFile& file) {
  const EcrConfigRecord& record = CurrentRecord();
  std::string identity(FieldText(record.EcrId));
  identity += ' ';
  identity += FieldText(record.FirmwareName);
  identity += ' ';
  identity += FieldText(record.ModelCode);
  return WriteLine(file, LogLine(kMsgLogCommand, Transfer().CommandText)) &&
         WriteLine(file, LogLine(kMsgLogEcrNumber, std::to_string(SelectedEcr()))) &&
         WriteLine(file, LogLine(kMsgLogDate, DateTimeText())) &&
         WriteLine(file, LogLine(kMsgLogEcrId, identity));
}

bool WriteTrailer(LineFile& file) {
  const TransferState& transfer = Transfer();
  std::string counts = "(";
  counts += IntMsgTable().Row(kMsgLogErrors);
  counts += std::to_string(transfer.TransferErrorCount);
  counts += '/';
  counts += std::to_string(transfer.TransferEcrErrorCount);
  counts += ')';
  return WriteLine(file, LogLine(kMsgLogEnd, counts));
}

}  // namespace

bool WriteXferLogBanner(LineFile& file, int trailer) {
  return trailer == 0 ? WriteHeader(file) : WriteTrailer(file);
}

}  // namespace quadrel
