#include "language/reply_file.h"

#include "language/result_codes.h"
#include "language/result_text.h"

namespace quadrel {

int ReplyWithFile(std::string_view text, LineFile& file) {
  SetPendingReply(text);
  if (!file.IsOpen()) return 0;
  const bool written = WriteLine(file, Reply().PendingReply.text);
  if (file.Close() && written) return 0;
  Reply().PendingReply = {};
  return kResultBatchFileOpenError;
}

}  // namespace quadrel
