// What the benchmark programs share: the wire they are measured against and a
// folder for the files they write.
#pragma once

#include <filesystem>

namespace bench_support {

constexpr double kWireBytesPerSecond = 115200.0 / 10.0;  // 8N1: 10 bits a byte

inline std::filesystem::path WorkFolder(const char* name) {
  const auto dir = std::filesystem::temp_directory_path() / name;
  std::filesystem::create_directories(dir);
  return dir;
}

}  // namespace bench_support
