// Puts the register's line echo back off after a command switched it on to
// capture printed text.
#pragma once

namespace quadrel {

// Does nothing (0) unless a command set Library().settingsChanged. Otherwise
// clears the flag, reads the output settings ('C' 3), writes them back with
// the echo byte 0, and tells the host (request ECRIO_XFER_END). Returns 0 or
// the exchange's error code.
int WriteBackEcrSettings();

}  // namespace quadrel
