// The bytes of the register's unsolicited messages, built from typed fields so
// that tests and demos write "amount:-1500" rather than hex. Widths that the
// register's configuration decides (amounts, article codes) come from it.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "config/register_config.h"

namespace ecrsim {

// Event kinds: the characters the host's link hands over with each message.
constexpr std::uint8_t kEventDataLine = 'X';    // a printed line, register text
constexpr std::uint8_t kEventDataRecord = 'Y';  // a data-capture record
constexpr std::uint8_t kEventInteract = 'B';    // interaction data
constexpr std::uint8_t kEventFileEnquiry = 'F';
constexpr std::uint8_t kEventFileUpdate = 'G';

constexpr int kTextCodeChars = 20;   // a text article code: 0xFF and 20 characters
constexpr int kMaxFieldBytes = 255;  // widths a field may give itself

struct EventWidths {
  int amountBytes = 0;  // block 4 byte 35
  int codeBytes = 0;    // low half of settings byte 9
  int bcdBytesB = 0;    // block 4 byte 41
};
EventWidths WidthsOf(const RegisterConfig& config);

// The kind byte of a data-capture record: the kind in bits 0-5 and the flag
// digit f (0-3) as bit 7 = f & 1, bit 6 = f & 2.
std::optional<std::uint8_t> RecordKindByte(int kind, int flagDigit);

// Appends the bytes of each field to `out`. Fields:
//   amount:N  code:N  bcdb:N    BCD of the register's amount, code and second-value widths
//   bcd:W:N                     BCD of W bytes ('-' puts 0xD in the first half-byte)
//   textcode:T                  0xFF and T padded with blanks to 20 characters
//   text:W:T                    T padded with blanks (or cut) to W characters
//   byte:N  word:N              one byte, a 16-bit little-endian word
//   date:DDMMYYhhmm             five BCD bytes
//   hex:HEX                     raw bytes
// False with `error` set for a field that is malformed or does not fit.
bool EncodeEventFields(std::span<const std::string> fields, const EventWidths& widths,
                       std::vector<std::uint8_t>& out, std::string& error);

}  // namespace ecrsim
