// The register's line echo switched on to capture printed text, and put back
// off afterwards.
#pragma once

namespace quadrel {

// Does nothing (0) unless a command set Library().settingsChanged. Otherwise
// reads the output settings ('C' 3), writes them back with the echo byte 0,
// clears the flag once that succeeded, and tells the host (request
// ECRIO_XFER_END). Returns 0 or the exchange's error code (the flag then stays).
int WriteBackEcrSettings();

// Reads the output settings ('C' 3) and, when the line echo is off, writes
// them back with the echo on and sets Library().settingsChanged so that
// WriteBackEcrSettings puts it off again. 0 or the exchange's error code.
int SwitchEcrEchoOn();

}  // namespace quadrel
