// The immediate frames of the register link: fixed short frames written into
// the shared FrameBuffer and exchanged at once with CurrentEcr (flags 1), the
// memory reads, and the two resets of the transfer command. Each answer stays
// in the FrameBuffer for the caller (answer letter at byte 0).
//
// The builders return true when the register answered with the request's
// letter and, where the answer has a known size, with all of its bytes; on
// false `error` holds the ResultCode (a short answer is an incorrect answer:
// 0x10000 + its letter).
#pragma once

#include <cstdint>
#include <span>

#include "language/result_codes.h"
#include "link/ecr_readiness.h"

namespace quadrel {

// Result codes of the link operations.
constexpr int kRefusedTransactionOpen = 0x800 + 6;  // 2054: the register refuses, a transaction is open

constexpr int kBlockBytes = 128;     // one block of ReadEcrArea
constexpr int kAreaUnitBytes = 512;  // ReadEcrArea reads units of four blocks
constexpr int kIdentityBlockBytes = 36;
constexpr int kBlock16KBytes = 16384;

bool SendFrame1(std::uint8_t b0, int& error);
bool SendFrame2(std::uint8_t b0, std::uint8_t b1, int& error);
bool SendFrame3(std::uint8_t b0, std::uint8_t b1, std::uint8_t b2, int& error);
bool SendFrame4(std::uint8_t b0, std::uint8_t b1, std::uint8_t b2, std::uint8_t b3, int& error);

// 'D' reads of the 16-bit memory: the data follow the letter, `length` bytes of them.
bool ReadEcrMemory(std::uint16_t address, std::uint8_t length, int& error);
bool ReadEcrMemoryExt(std::uint16_t address, std::uint8_t length, std::uint8_t selector, int& error);
bool ReadEcrRecordExt(int a, int b, std::uint8_t length, std::uint8_t selector, int& error);

// 'U' 0 0x20 `selector` and `number` low byte first: one record of a table
// kept behind the information frames. A refusal (answer byte 1 not 0) gives
// 0x8000 + that byte; the record's bytes follow byte 1.
bool ReadEcrTableRecord(std::uint8_t selector, int number, int& error);

// 'O' 20 read of the 32-bit memory: answer byte 1 is a status byte, the data follow.
bool ReadEcrMemory32(std::uint32_t address, std::uint8_t length, int& error);
bool ReadEcrIdentityFrame(int& error);            // 'O' 17
bool SendO17Number(std::uint16_t n, int& error);  // 'O' 17 n

// 'S': refreshes EcrStatusBytes. 0 or the exchange's error code.
int ReadEcrStatus();
// 'H' 0. 0 or the exchange's error code.
int ReleaseEcrStandBy();
// 'H' 1: blocks the register for a download. Mode 2 waits (with the progress
// callback, until the host aborts or `limitMs` passes) while a transaction is
// open. 0, 8199 or 8204.
int SetEcrStandBy(int mode, std::uint32_t limitMs = kWaitEcrReadyLimitMs);
// 'C' 4: 0 when a card is in the reader; with `wait` polls until one is, the
// host aborts or `limitMs` passes (25). 25 without a card and without `wait`,
// or an exchange error.
int WaitChipCard(int wait, std::uint32_t limitMs = kWaitEcrReadyLimitMs);
// At most three asks of the host's status function: true as soon as one
// succeeds with the register not busy.
bool IsEcrReady();

// 'O' 17 into a 36-byte block: cleared first, then 36 bytes of an answer of 37
// bytes or more, 32 of one of 33 to 36. False for a shorter answer; true with
// the block all zero when the exchange fails.
bool ReadEcrIdentityBlock(std::span<std::uint8_t, kIdentityBlockBytes> block);

// units x 512 bytes from `address` in 128-byte blocks. False at the first
// block that fails or does not come whole; the destination then holds the
// blocks before it and nothing shifted; `error` then holds the exchange's
// code, or 0x10000 + the answer letter for a short answer.
bool ReadEcrArea(std::uint32_t address, int units, std::uint8_t* destination);
bool ReadEcrArea(std::uint32_t address, int units, std::uint8_t* destination, int& error);
bool ReadEcrBlock16K(std::uint32_t address, std::uint8_t* destination);
bool ReadEcrBlock16K(std::uint32_t address, std::uint8_t* destination, int& error);

// The two resets of the transfer command ('U' 0 11, 'U' 0 15): the
// exchange's error code, or 8198 when the register does not confirm the
// article reset. Both leave their time in the transfer statistics.
int XferResetDataCollect();
int XferResetArticles();

}  // namespace quadrel
