// The protocol library's host-info record, as the translator reads it. The
// record belongs to the protocol library; the translator gets a pointer to it
// from the host (request ECRIO_GET_INFO) and reads the fields below.
//
// Fixed offsets (the 32-bit ABI): protocol type 0, version 8/12/16, presence
// flags pointer 48, broadcast 96, status 100, extended status 104, progress
// slot 108, trace 112. Fields placed by this project after 112:
//   116 register count (number of registers the host serves)
//   120 host switches (reserved bit set for the protocol library's own use)
//   124 wide-text indicator (nonzero: the host's display takes 20-character texts)
#pragma once

#include <cstddef>
#include <cstdint>

#include "interfaces/translator_exports.h"

using HostBroadcastIOProc = int(QUADREL_CALL*)(int mode, const void* frame, int length, int ecrCount,
                                               int answerSize, void* answers, int* answerLengths,
                                               int* statusCodes);
using HostStatusProc = int(QUADREL_CALL*)(int ecr, int mode, void* statusRecord);
// Extended status: the host writes its status word, the byte count and up to
// kHostStatusExBytes bytes of the register's extended status.
constexpr int kHostStatusExBytes = 256;
// The answer buffer handed to the host with a query (ECRIO_QUERY): the host
// writes at most this many bytes, its terminator included.
constexpr std::size_t kHostQueryAnswerBytes = 1024;
using HostStatusExProc = int(QUADREL_CALL*)(int ecr, int mode, int* status, int* length,
                                            std::uint8_t* buffer);
using HostTraceProc = int(QUADREL_CALL*)(int level, int, int, const char* text, int, int, int,
                                         const char* empty);

// Pointer-sized fields that the 32-bit ABI gives 4 bytes hold intptr_t here so
// the native build stays correct; offsets are checked in the 32-bit build only.
struct HostInfoRecord {
  std::int32_t protocolType;
  std::int32_t reserved4;
  std::int32_t versionMajor;
  std::int32_t versionMinor;
  std::int32_t versionBuild;
  std::int32_t reserved20[7];
  std::int32_t* presenceFlags;  // word r (r = 1..24) bit 0: register r present
  std::int32_t reserved52[11];
  HostBroadcastIOProc broadcastIO;
  HostStatusProc status;
  HostStatusExProc statusEx;
  TradProgressProc progress;  // written by the translator
  HostTraceProc trace;
  std::int32_t registerCount;
  std::int32_t hostSwitches;
  std::int32_t wideText;
};

#if defined(_WIN32) && !defined(_WIN64)
static_assert(offsetof(HostInfoRecord, protocolType) == 0);
static_assert(offsetof(HostInfoRecord, versionMajor) == 8);
static_assert(offsetof(HostInfoRecord, versionMinor) == 12);
static_assert(offsetof(HostInfoRecord, versionBuild) == 16);
static_assert(offsetof(HostInfoRecord, presenceFlags) == 48);
static_assert(offsetof(HostInfoRecord, broadcastIO) == 96);
static_assert(offsetof(HostInfoRecord, status) == 100);
static_assert(offsetof(HostInfoRecord, statusEx) == 104);
static_assert(offsetof(HostInfoRecord, progress) == 108);
static_assert(offsetof(HostInfoRecord, trace) == 112);
static_assert(offsetof(HostInfoRecord, registerCount) == 116);
static_assert(offsetof(HostInfoRecord, hostSwitches) == 120);
static_assert(offsetof(HostInfoRecord, wideText) == 124);
static_assert(sizeof(HostInfoRecord) == 128);
#endif

// Host service requests (negative first argument of the host-service callback).
enum EcrIORequest : int {
  ECRIO_XFER_TOTALS = -77,
  ECRIO_XFER_TABLES = -78,
  ECRIO_QUERY = -79,
  ECRIO_XFER_BEGIN = -101,
  ECRIO_ECHO_ON = -102,
  ECRIO_XFER_END = -103,
  ECRIO_GET_INFO = -105,
  ECRIO_CONNECT_TIMEOUT = -106,
  ECRIO_DISCONNECT = -107,
  ECRIO_SETUP_108 = -108,
  ECRIO_SETUP_109 = -109,
  ECRIO_CONNECT = -110,
  ECRIO_HANGUP = -111,
};
