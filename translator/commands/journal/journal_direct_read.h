// The direct read of command 72: 'O' 15 chooses the stretch, 'O' 16 fetches
// its text block by block into the data-capture file.
#pragma once

#include <array>
#include <cstdint>

#include "commands/journal/journal_request.h"

namespace quadrel {

constexpr std::size_t kJournalSelectFrameBytes = 20;

// A journal line is never this many blocks long: a register that sends this
// many blocks in a row without a line feed is not sending journal text.
constexpr int kMaxBlocksWithoutLineFeed = 64;

// The 'O' 15 frame of `request`.
std::array<std::uint8_t, kJournalSelectFrameBytes> JournalSelectFrame(const JournalRequest& request);

// Runs the read into the open data-capture file (or none) and closes it.
// 0, the exchange's error code, 5 for a register without the frame, 4096 +
// the register's error byte, 4 after kMaxBlocksWithoutLineFeed blocks in a
// row without a line feed, or 11 when the file did not take every line.
int ReadJournalDirect(const JournalRequest& request);

}  // namespace quadrel
