#include "commands/host/host_commands.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdint>
#include <cstring>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "files/line_file.h"
#include "interfaces/host_info.h"
#include "language/command_field_values.h"
#include "language/reply_file.h"
#include "language/result_codes.h"
#include "language/result_text.h"
#include "link/frame_exchange.h"

namespace quadrel {
namespace {

enum HostField : int { kFieldKind = 1, kFieldText = 2, kFieldFile = 3, kFieldWithTotals = 4 };
enum QueryField : int { kFieldTimeOut = 1, kFieldQuery = 2, kFieldAnswerFile = 3 };

struct FileKind {
  std::string_view name;
  int number;
};

constexpr int kKindTotalsPlu = 1;
constexpr std::array<FileKind, 2> kTotalsKinds = {{{"TOTALIPLU", kKindTotalsPlu}, {"RAW", 5}}};
constexpr std::array<FileKind, 5> kTableKinds = {
    {{"ARTICOLICSV", 1}, {"MANBIL", 2}, {"LOTTICSV", 3}, {"INGREDIENTICSV", 4}, {"RAW", 5}}};

constexpr std::int32_t kTotalsEntryWord = 84;  // what the host takes for "all totals"
constexpr std::int32_t kQueryEntryWord = -1;   // no number in the query
constexpr int kQueryKind = 1;

bool SameLetters(std::string_view a, std::string_view b) {
  return std::ranges::equal(a, b,
                            [](char x, char y) { return std::toupper(static_cast<unsigned char>(x)) == y; });
}

std::optional<int> KindNumber(std::span<const FileKind> kinds) {
  std::string_view text = FieldText(kFieldKind);
  text = text.substr(0, text.find_last_not_of(' ') + 1);
  for (const FileKind& kind : kinds)
    if (SameLetters(text, kind.name)) return kind.number;
  return std::nullopt;
}

int HostOutcome(int result, std::int32_t status) {
  if (result != 0) return kClassHostService;
  return status == 0 ? 0 : kClassHostService + status;
}

char* TextArgument(int slot) {
  return const_cast<char*>(FieldText(slot).c_str());
}

int Transfer(int request, std::span<const FileKind> kinds, std::int32_t statusWord) {
  if (!FieldGiven(kFieldKind) && !FieldGiven(kFieldText)) return kResultNoDepartmentOrArticle;
  const std::optional<int> kind = KindNumber(kinds);
  if (!kind) return kResultNoDepartmentOrArticle;
  if (request == ECRIO_XFER_TOTALS && *kind == kKindTotalsPlu)
    statusWord = FieldGiven(kFieldWithTotals) ? 1 : 0;
  const std::string fileName = FieldText(kFieldFile);
  std::int32_t notRead = 0;
  const int result =
      RequestHostService(request, ProgressRelayArgument(), TextArgument(kFieldText), IntArgument(*kind),
                         const_cast<char*>(fileName.c_str()), &notRead, &statusWord);
  return HostOutcome(result, statusWord);
}

}  // namespace

int CmdHostXferTotals() {
  return Transfer(ECRIO_XFER_TOTALS, kTotalsKinds, kTotalsEntryWord);
}

int CmdHostXferTables() {
  return Transfer(ECRIO_XFER_TABLES, kTableKinds, 0);
}

int CmdHostQuery() {
  int timeOut = kHostQueryDefaultTimeOutMs;
  if (FieldGiven(kFieldTimeOut) && (!FieldInteger(kFieldTimeOut, timeOut) || timeOut < 0))
    return kResultIllegalValue;
  // The host reads a query that starts with a number by that number.
  std::int32_t statusWord = FieldGiven(kFieldQuery) ? FieldLeadingNumber(kFieldQuery) : kQueryEntryWord;

  LineFile file;
  if (FieldGiven(kFieldAnswerFile) &&
      !OpenLineFile(FieldText(kFieldAnswerFile), LINE_READ_WRITE | LINE_CREATE_ALWAYS, file,
                    LINE_SLOT_UNBUFFERED)) {
    return kResultBatchFileOpenError;
  }
  Reply().PendingReply.set = false;
  std::array<char, kHostQueryAnswerBytes> answer{};
  std::int32_t timeOutWord = timeOut;
  const int result = RequestHostService(ECRIO_QUERY, ProgressRelayArgument(), TextArgument(kFieldQuery),
                                        IntArgument(kQueryKind), answer.data(), &timeOutWord, &statusWord);
  const int outcome = HostOutcome(result, statusWord);
  if (outcome != 0) return CloseAndReturn(outcome, file);
  // The host may fill the buffer to its end: the answer is what lies before the first terminator.
  return ReplyWithFile(std::string_view(answer.data(), strnlen(answer.data(), answer.size())), file);
}

}  // namespace quadrel
