// The SHA-1 digest of a file's bytes as 40 uppercase hexadecimal digits, the
// form a journal export's checksum file holds.
#pragma once

#include <optional>
#include <string>

namespace quadrel {

// Reads `path` as raw bytes to its end; nothing when the file cannot be
// opened or read whole, so no digest of part of a file is ever given.
std::optional<std::string> FileSha1Hex(const std::string& path);

}  // namespace quadrel
