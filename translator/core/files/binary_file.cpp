#include "files/binary_file.h"

#include <cstdio>
#include <memory>

namespace quadrel {

bool ReadFileBytes(const std::string& path, std::size_t maxBytes, std::string& bytes) {
  bytes.clear();
  const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"), std::fclose);
  if (!file) return false;
  char block[4096];
  std::size_t got = 0;
  bool tooLarge = false;
  while (!tooLarge && (got = std::fread(block, 1, sizeof block, file.get())) > 0) {
    tooLarge = bytes.size() + got > maxBytes;
    if (!tooLarge) bytes.append(block, got);
  }
  if (tooLarge || std::ferror(file.get())) {
    bytes.clear();
    return false;
  }
  return true;
}

bool WriteFileBytes(const std::string& path, std::string_view bytes) {
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "wb"), std::fclose);
  if (!file) return false;
  const bool whole = std::fwrite(bytes.data(), 1, bytes.size(), file.get()) == bytes.size();
  return std::fclose(file.release()) == 0 && whole;
}

}  // namespace quadrel
