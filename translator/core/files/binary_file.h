// Whole files read as raw bytes: data files of barcodes and logo pictures.
#pragma once

#include <cstddef>
#include <string>

namespace quadrel {

// Reads all of `path` into `bytes`. False, with `bytes` empty, when the file
// cannot be opened or read to its end, or holds more than `maxBytes` bytes.
bool ReadFileBytes(const std::string& path, std::size_t maxBytes, std::string& bytes);

}  // namespace quadrel
