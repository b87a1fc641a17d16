// The codes our transport reports, beside the protocol library interface.
// Shared by the library and its tests.
#pragma once

#include <cstdint>

#include "interfaces/protocol_library.h"

namespace prot {

constexpr int kMaxFrame = 512;
constexpr int kMaxErrorText = 256;  // GetLastProtocolError's text buffer, terminator included

// EcrIO results for a frame exchange (the register's own results pass through).
constexpr int kResultAnswered = 0;
constexpr int kResultTimeOut = 1;
constexpr int kResultNoLine = 2;
constexpr int kResultRequestError = 4;
constexpr int kResultDataError = 8;
constexpr int kResultCritical = 32;

// Details of the results our transport produces itself.
constexpr int kDetailTimeOut = 1;        // with kResultTimeOut
constexpr int kDetailNotOpen = 2;        // with kResultNoLine: OpenProt never succeeded or CloseProt ran
constexpr int kDetailLineLost = 3;       // with kResultNoLine: the connection broke
constexpr int kDetailSendFailed = 4;     // with kResultNoLine
constexpr int kDetailBadFrame = 5;       // with kResultRequestError: no frame, empty or over 512 bytes
constexpr int kDetailAnswerTooLong = 6;  // with kResultRequestError: the answer exceeds *outLen
constexpr int kDetailNoService = 7;      // with kResultRequestError: a service request we do not serve

// Network-change callback values.
constexpr int kNetLost = 0;
constexpr int kNetRestored = 1;

// GetLastProtocolError codes.
enum ErrorCode : int {
  kErrNone = 0,
  kErrNoPortKey = 1,      // the port key or its PortType is missing
  kErrBadSettings = 2,    // a value the port type needs is missing or malformed
  kErrConnect = 3,        // the register's address or serial port cannot be opened
  kErrTimeOut = 4,
  kErrLineLost = 5,
  kErrNotOpen = 6,
  kErrSend = 7,
  kErrBadArgument = 8,
  kErrAnswerTooLong = 9,
  kErrUnknownRequest = 10,
  kErrRegister = 11,  // the register answered with a failure result
};

}  // namespace prot
