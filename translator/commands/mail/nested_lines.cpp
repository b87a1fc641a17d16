#include "commands/mail/nested_lines.h"

#include <cstring>
#include <fstream>
#include <iterator>

#include "language/result_text.h"
#include "run/command_executor.h"
#include "run/key_batch_sender.h"
#include "state/ecr_config.h"

namespace quadrel {
namespace {

template <std::size_t N>
std::string RecordText(const char (&field)[N]) {
  return std::string(field, strnlen(field, N));
}

}  // namespace

int RunNestedLine(const std::string& line, std::string* reply) {
  const int code = TradExecCommand(line);
  if (code != 0) return code;
  if (reply) *reply = Reply().PendingReply.text;
  SendKeyBatch(0, nullptr, 0);
  return code;
}

std::string CurrentEcrId() { return RecordText(CurrentRecord().EcrId); }
std::string CurrentFirmwareName() { return RecordText(CurrentRecord().FirmwareName); }

std::optional<std::string> ReadWorkFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  return std::string(std::istreambuf_iterator<char>(in), {});
}

}  // namespace quadrel
