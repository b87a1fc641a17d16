// One frame to the register and its answer back, through the host: the shared
// frame buffer, the register status kept from status answers, and the
// classification of host results and answers into ResultCodes.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "interfaces/translator_exports.h"
#include "language/result_codes.h"

namespace quadrel {

constexpr std::size_t kMaxFrameLength = 512;
constexpr int kEcrCount = 24;  // registers a broadcast answers for

// SendEcrFrame flags.
constexpr int FRAME_PLAIN = 0x01;
constexpr int FRAME_MODE_11 = 0x08;  // key records of the report commands
constexpr int FRAME_MODE_0 = 0x10;   // key records of command 9 that begin with key 0xF0

// The frame being sent and, after the exchange, the register's answer.
struct FrameBufferData {
  std::array<std::uint8_t, kMaxFrameLength> data{};
  std::int32_t length = 0;

  // Replaces the contents with `frame`; false (nothing changes) when it is too long.
  bool Load(std::span<const std::uint8_t> frame);
};

FrameBufferData& FrameBuffer();

// The register status kept from the last 'S' answer.
struct EcrStatusFields {
  int state = 0;             // bit 0 idle; 'B' after a key frame answered with state 4
  int criticalCode = 0;      // not 0: the register reports a critical state
  int transactionFlags = 0;  // bit 0: a transaction is open
  int keyPosition = 0;       // 1: REG position
  int extra = 0;             // bit 0: the register asks for confirmation
};

EcrStatusFields& EcrStatusBytes();

// Sends `length` bytes of `frame` (which may be the FrameBuffer itself) to
// CurrentEcr, or to every register in broadcast mode. The answer replaces the
// FrameBuffer. True when the register answered as expected; otherwise `error`
// holds the ResultCode. An answer too short for the bytes the check reads is
// an incorrect answer (class 0x10000 with its letter, or row 0 when empty).
bool SendEcrFrame(int flags, const std::uint8_t* frame, int length, int& error);

// SendEcrFrame of the FrameBuffer's own contents.
bool SendFrameBuffer(int flags, int& error);

// Calls the host-service callback with a negative EcrIORequest; the other
// arguments belong to the service. Returns the host's result, or -1 without a host.
int RequestHostService(int request, int mode, void* a, void* b, void* c, void* d, void* e);

// Progress function handed to the host with the requests that take one: shows
// "CALL IN PROGRESS" for CurrentEcr through the progress callback.
void QUADREL_CALL ProgressRelay(int count, int percent, int* abort);

// ProgressRelay as the int word of a host request: the 32-bit ABI carries the
// pointer there; a 64-bit build cannot, and passes 0.
int ProgressRelayArgument();

}  // namespace quadrel
