// One command line as the tests run it: executed, and the key records it
// queued sent after it.
#pragma once

#include <string>

#include "language/result_text.h"
#include "run/command_executor.h"
#include "run/key_batch_sender.h"

namespace quadrel::test_support {

// As between EcrCmd's lines, a transfer's line counts belong to its own line:
// left set, they would keep the next line's key records from being sent.
inline int RunLine(const std::string& line) {
  Reply().TransferStats.set = false;
  return SendKeyBatch(TradExecCommand(line), nullptr, 0);
}

}  // namespace quadrel::test_support
