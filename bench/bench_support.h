// What the benchmark programs share: the wire they are measured against, the
// count of what a line carried, and a folder for the files they write.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>

namespace bench_support {

constexpr double kWireBytesPerSecond = 115200.0 / 10.0;  // 8N1: 10 bits a byte

// The frames a line carried and their bytes, request and answer; a real
// transport's own framing is not counted.
struct WireCount {
  std::int64_t bytes = 0;
  std::int64_t frames = 0;

  void Add(std::size_t frameBytes, std::size_t answerBytes) {
    bytes += static_cast<std::int64_t>(frameBytes + answerBytes);
    ++frames;
  }
  double Seconds() const { return static_cast<double>(bytes) / kWireBytesPerSecond; }
};

inline std::filesystem::path WorkFolder(const char* name) {
  const auto dir = std::filesystem::temp_directory_path() / name;
  std::filesystem::create_directories(dir);
  return dir;
}

}  // namespace bench_support
