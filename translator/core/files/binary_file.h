// Whole files read or written as raw bytes: data files of barcodes and logo
// pictures, documents and checksums the register's data is exported into.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace quadrel {

// Reads all of `path` into `bytes`. False, with `bytes` empty, when the file
// cannot be opened or read to its end, or holds more than `maxBytes` bytes.
bool ReadFileBytes(const std::string& path, std::size_t maxBytes, std::string& bytes);

// Creates (or replaces) `path` holding exactly `bytes`. False when it cannot
// be created, or not written and closed whole.
bool WriteFileBytes(const std::string& path, std::string_view bytes);

}  // namespace quadrel
