// The translator's process-wide state back to how the library starts: the
// one place that knows every owner, so TradInit, the library's attach and
// the tests all start from the same state.
#pragma once

namespace quadrel {

// Resets every owner's state, the options included, and installs the command
// table. The loaded definitions file stays (it is loaded, not reset).
void ResetProcessState();

}  // namespace quadrel
