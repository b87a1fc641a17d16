#include "commands/xml/xml_download.h"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>

#include "commands/xml/xml_store_block.h"
#include "files/binary_file.h"
#include "language/command_field_values.h"
#include "language/result_codes.h"
#include "link/register_link.h"
#include "run/command_executor.h"
#include "run/key_batch_sender.h"

namespace quadrel {
namespace {

constexpr int kNumberSlot = 7;
constexpr int kSendSlot = 6;
constexpr int kFirstSlot = 3;
constexpr int kLastSlot = 4;
constexpr int kOutcomeOnlySlot = 5;
constexpr int kRangeError = kResultEmBoardNotInitialised;  // 9: the range is missing or wrong
constexpr int kMaxIndex = 0xFFFF;                          // indexes are 16-bit in the store
constexpr int kUntrustedBlock = kClassAnswerLetter | 'O';  // a length past its area

int SendNumber() {
  int number = 0;
  if (!FieldInteger(kNumberSlot, number) || number < 0 || number > kMaxIndex) return kResultIllegalValue;
  int error = 0;
  return SendO17Number(static_cast<std::uint16_t>(number), error) ? 0 : error;
}

// The register's own send function, reached through its key positions. Every
// line runs, so the register is left in position R even after a failure; the
// first failure is the command's result.
int RunSendFunction() {
  int result = 0;
  for (const char* line : {"CHIAVE Z", "INP NUM=99, TERM=145", "CHIAVE R"}) {
    const int code = SendKeyBatch(TradExecCommand(line), nullptr, 0);
    if (result == 0) result = code;
  }
  return result;
}

int WriteDocument(const char* prefix, int index, std::span<const std::uint8_t> text) {
  char name[32];
  std::snprintf(name, sizeof name, "%s_%04d.xml", prefix, index);
  const std::string_view bytes(reinterpret_cast<const char*>(text.data()), text.size());
  return WriteFileBytes(name, bytes) ? 0 : kResultBatchFileOpenError;
}

int CopyDocuments() {
  int first = 0, last = 0;
  if (!FieldInteger(kFirstSlot, first)) return kRangeError;
  last = first;
  if (FieldGiven(kLastSlot) && !FieldInteger(kLastSlot, last)) return kRangeError;
  if (first > last || first < 1 || last > kMaxIndex) return kRangeError;

  auto block = std::make_unique<XmlStoreBlock>();
  int error = 0;
  if (!ReadEcrBlock16K(0, block->data(), error)) return error;
  const int oldest = OldestXmlIndex(*block);
  if (oldest == 0) return 0;
  const int from = std::max(first - oldest, 0);
  const int to = last - oldest;
  const bool outcomeOnly = FieldSwitchOn(kOutcomeOnlySlot);
  for (int n = from; n <= to; ++n) {
    if (n != 0 && !ReadEcrBlock16K(static_cast<std::uint32_t>(n) * kXmlBlockBytes, block->data(), error))
      return error;
    if (!HasXmlSignature(*block)) return 0;
    XmlDocuments documents;
    if (!XmlBlockDocuments(*block, documents)) return kUntrustedBlock;
    const int index = oldest + n;
    if (!documents.totals.empty() && (!outcomeOnly || documents.outcome.empty())) {
      if (const int failed = WriteDocument("corrispettivi", index, documents.totals)) return failed;
    }
    if (!documents.outcome.empty()) {
      if (const int failed = WriteDocument("esito", index, documents.outcome)) return failed;
    }
  }
  return 0;
}

}  // namespace

int CmdXmlDownload() {
  if (FieldGiven(kNumberSlot)) return SendNumber();
  if (FieldGiven(kSendSlot)) return RunSendFunction();
  return CopyDocuments();
}

}  // namespace quadrel
