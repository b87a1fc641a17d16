// What a register answers a frame with: the link's result, the answer bytes
// and the six status bytes of its 'S' answer. Below everything that answers.
#pragma once

#include <cstdint>
#include <vector>

namespace ecrsim {

// The six bytes after the letter of an 'S' answer.
struct StatusBytes {
  std::uint8_t state = 1;        // bit 0 idle, bit 2 not ready (the host asks its own status)
  std::uint8_t critical = 0;     // nonzero: a critical state with this code
  std::uint8_t transaction = 0;  // bit 0: a transaction is open
  std::uint8_t reserved = 0;
  std::uint8_t keyPosition = 1;  // 1 = REG
  std::uint8_t extra = 0;        // bit 0: the register asks for confirmation
};

// Codes a register refuses a frame with (host result 8, answer byte 1).
constexpr std::uint8_t kRefuseUnknownFrame = 1;
constexpr std::uint8_t kRefuseBadAddress = 2;
constexpr std::uint8_t kRefuseTransactionOpen = 6;
constexpr std::uint8_t kRefuseKeyPosition = 4;  // the frame needs the REG position

// Host results the link reports with an answer.
constexpr int kHostOk = 0;
constexpr int kHostRefused = 8;
constexpr int kHostCritical = 32;

struct Reply {
  bool answered = true;  // false: the register stays silent
  int hostResult = kHostOk;
  int detail = 0;
  std::vector<std::uint8_t> answer;
  int delayMs = 0;  // how long the register takes to answer
};

}  // namespace ecrsim
