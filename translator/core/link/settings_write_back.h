// The register's line echo switched on to capture printed text, and put back
// off afterwards.
#pragma once

#include <array>
#include <cstdint>

namespace quadrel {

// The output settings: answer bytes 1 to 9 of 'C' 3 (byte 4 is the line echo).
constexpr int kEcrSettingsBytes = 9;
using EcrSettings = std::array<std::uint8_t, kEcrSettingsBytes>;

// 'C' 3 read; 0 or the exchange's error code (a short answer: its letter's).
int ReadEcrSettings(EcrSettings& settings);
// 'C' 3 and the nine bytes; 0 or the exchange's error code.
int WriteEcrSettings(const EcrSettings& settings);

// Does nothing (0) unless a command set Library().settingsChanged. Otherwise
// reads the output settings ('C' 3), writes them back with the echo byte 0,
// clears the flag once that succeeded, and tells the host (request
// ECRIO_XFER_END). Returns 0 or the exchange's error code (the flag then stays).
int WriteBackEcrSettings();

// Reads the output settings ('C' 3) and, when the line echo is off, writes
// them back with the echo on and sets Library().settingsChanged so that
// WriteBackEcrSettings puts it off again. 0 or the exchange's error code.
int SwitchEcrEchoOn();

// SwitchEcrEchoOn, then tells the host that echo lines will follow (request
// ECRIO_ECHO_ON). 0 or the exchange's error code (the host is not told then).
int StartEcrEcho();

}  // namespace quadrel
