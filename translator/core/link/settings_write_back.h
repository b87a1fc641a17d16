// Puts the register's line echo back off after a command switched it on to
// capture printed text.
#pragma once

namespace quadrel {

// Does nothing (0) unless a command set Library().settingsChanged. Otherwise
// reads the output settings ('C' 3), writes them back with the echo byte 0,
// clears the flag once that succeeded, and tells the host (request
// ECRIO_XFER_END). Returns 0 or the exchange's error code (the flag then stays).
int WriteBackEcrSettings();

}  // namespace quadrel
