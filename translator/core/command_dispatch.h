// The command handlers by command number.
#pragma once

namespace quadrel {

// A handler reads CommandFields, may queue key records or exchange frames,
// and returns a ResultCode.
using CommandHandler = int (*)();

constexpr int kResultInstructionNotSupported = 0x100 | 12;  // 268

// The handler of `command`; numbers without a handler (and those outside
// 1..149) get one that returns 268.
CommandHandler FindCommandHandler(int command);

}  // namespace quadrel
