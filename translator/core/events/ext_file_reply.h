// The reply to the register's external-file enquiry, built from the client's
// answer text: six fields split by the command-line field rules.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace quadrel {

// Reply kinds the client gives.
constexpr unsigned EXT_REPLY_FOUND = 0;
constexpr unsigned EXT_REPLY_FOUND_OTHER = 1;  // answered as found, like 0
constexpr unsigned EXT_REPLY_NOT_FOUND = 2;
constexpr unsigned EXT_REPLY_BCD_CODE = 3;

// The host's buffer for the reply; a longer reply becomes the error frame.
constexpr std::size_t kExtReplyBufferSize = 1024;
// Longest text code of a 'F' reply.
constexpr std::size_t kExtReplyTextCodeLength = 20;

// Builds the reply of register `ecr` to an enquiry. `answer` holds the fields
// F1 code, F2 description, F3 number (0-65535, or down to -32768), F4 (not
// sent), F5 code byte, F6 price. Kind 2 gives 'N'; kinds 0 and 1 a 'F' reply
// with the code as text (when `textCode`) or packed BCD; kind 3 a 'C' reply
// with the packed code. Without a valid configuration, for another kind, for
// a field that cannot be read or does not fit its width, the error frame.
std::vector<std::uint8_t> BuildFileExtReply(int ecr, unsigned kind, bool textCode, std::string_view answer);

// 'M', 0x02, the file-error text, 0x00, the external-file-error text, 0x00.
std::vector<std::uint8_t> FileExtErrorFrame();

}  // namespace quadrel
