// What a running transfer or dump shares with its log: the command line the
// executor is running and the error counts shown in the log's trailer and the
// result text.
#pragma once

#include <string>

namespace quadrel {

struct TransferState {
  std::string CommandText;        // the command line being executed
  int TransferErrorCount = 0;     // lines that failed
  int TransferEcrErrorCount = 0;  // of those, the ones the register refused
  bool StoppedByHost = false;     // the host stopped the transfer: its file holds only a part
};

TransferState& Transfer();

}  // namespace quadrel
