#include "query_text.h"

#include <cstddef>
#include <string>

#include "language/command_field_values.h"
#include "language/result_codes.h"
#include "language/result_text.h"
#include "platform/platform.h"

namespace quadrel {
namespace {

enum QueryTextField : int { kFieldCode = 1, kFieldDirectory = 2 };

constexpr std::size_t kMaxDirectoryBytes = 256;

void SetPendingMessage(std::string text) {
  Reply().PendingMessage = {std::move(text), true};
}

}  // namespace

int CmdQueryText() {
  if (FieldGiven(kFieldCode)) {
    int code = 0;
    if (!FieldInteger(kFieldCode, code)) return kResultInvalidParameters;
    std::string text;
    FormatResultText(text, code);
    SetPendingMessage(std::move(text));
    return 0;
  }
  if (!FieldGiven(kFieldDirectory)) return 0;
  if (!FieldIsFlag(kFieldDirectory)) return kResultGetPropertyError;
  std::string directory = platform::CurrentDirectory();
  if (directory.empty() || directory.size() > kMaxDirectoryBytes) return kResultGetPropertyError;
  SetPendingMessage(std::move(directory));
  return 0;
}

}  // namespace quadrel
