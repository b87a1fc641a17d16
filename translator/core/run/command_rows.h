// The rows the executor dispatches through: each command's handler and the
// flags that decide which checks run before it. The table itself lives with
// the command families above this folder and is installed once per reset.
#pragma once

#include <cstdint>
#include <span>

namespace quadrel {

// A handler reads CommandFields, may queue key records or exchange frames,
// and returns a ResultCode.
using CommandHandler = int (*)();

// Whether this call of the command needs the register: some commands decide
// by their fields (a mode, an output given) whether they talk to it.
using RegisterNeed = bool (*)();

enum CommandFlag : unsigned {
  kCmdProgSession = 1u << 0,      // refused outside the programming session
  kCmdHostOnly = 1u << 1,         // the host serves it, and only hosts of that kind
  kCmdSales = 1u << 2,            // may skip the status frame to sell at full speed
  kCmdBroadcast = 1u << 3,        // also runs when frames go to every register
  kCmdNoRegister = 1u << 4,       // no selected register, no status checks
  kCmdNoStatusFrame = 1u << 5,    // a selected register, but no readiness or status frame
  kCmdIgnoresConfirm = 1u << 6,   // runs while the register waits for a confirmation
  kCmdKeepsLineText = 1u << 7,    // keeps its parameter text for the file transfer
};

// The bit of field #n in a row's set of credential fields.
constexpr std::uint64_t CredentialField(int n) {
  return std::uint64_t{1} << n;
}

struct CommandRow {
  int number = 0;
  CommandHandler handler = nullptr;
  unsigned flags = 0;
  RegisterNeed needsRegister = nullptr;  // null: the flags alone decide
  std::uint64_t credentialFields = 0;    // fields whose values the trace hides

  bool Has(CommandFlag flag) const { return (flags & flag) != 0; }
  bool IsCredential(int field) const {
    return field >= 0 && field < 64 && (credentialFields & CredentialField(field));
  }
};

// Makes `rows` the table the executor looks commands up in; the rows must
// outlive every later lookup (the table is static data).
void UseCommandTable(std::span<const CommandRow> rows);

// The row of `command`; a number without a row gets one whose handler
// answers 268.
const CommandRow& FindCommandRow(int command);

}  // namespace quadrel
