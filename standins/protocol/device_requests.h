// The host service requests of a device port: the file transfers (-77
// totals, -78 tables) and the query (-79), carried to the device behind the
// port as service messages of our wire.
#pragma once

#include <cstdint>

namespace prot {

// Status words the transport itself reports (the device's own are below 20).
constexpr std::int32_t kServiceFileUnreadable = 20;  // the transfer's file cannot be read
constexpr std::int32_t kServiceTextTooLong = 21;     // the host's text does not fit a service message
constexpr std::int32_t kServiceStopped = 22;         // the progress function asked to stop
constexpr std::int32_t kServiceMalformedAnswer = 23;

// The device behind the port is the first register on the line.
constexpr int kDeviceEcr = 1;

// Arguments of EcrIO as the translator passes them (`mode`, a2, is the
// progress function on the 32-bit ABI). Return EcrIO's result; the status
// word goes to *status (a7).
int ServeTransfer(int request, int mode, const char* text, int kind, const char* fileName,
                  std::int32_t* status);
int ServeQuery(const char* text, char* answer, const std::int32_t* timeOut, std::int32_t* status);

}  // namespace prot
