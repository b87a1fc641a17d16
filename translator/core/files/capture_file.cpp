#include "files/capture_file.h"

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <system_error>
#include <vector>

#include "state/ecr_config.h"

namespace quadrel {
namespace {

// Moves the last `bytes` bytes of the file at `path` to its start and cuts as
// many bytes off its end.
void MoveTailToHead(const std::string& path, std::uintmax_t bytes) {
  std::error_code failure;
  const std::uintmax_t size = std::filesystem::file_size(path, failure);
  if (failure || bytes == 0 || bytes > size) return;

  std::FILE* file = std::fopen(path.c_str(), "r+b");
  if (!file) return;
  std::vector<char> tail(static_cast<std::size_t>(bytes));
  const bool moved = std::fseek(file, static_cast<long>(size - bytes), SEEK_SET) == 0 &&
                     std::fread(tail.data(), 1, tail.size(), file) == tail.size() &&
                     std::fseek(file, 0, SEEK_SET) == 0 &&
                     std::fwrite(tail.data(), 1, tail.size(), file) == tail.size();
  const bool closed = std::fclose(file) == 0;
  if (moved && closed) std::filesystem::resize_file(path, size - bytes, failure);
}

}  // namespace

CaptureFileState& CaptureFile() {
  static CaptureFileState state;
  return state;
}

bool OpenCaptureFile(const std::string& name) {
  CaptureFileState& capture = CaptureFile();
  capture.file.Close();
  capture.lineCount = 0;
  if (!OpenLineFile(name, LINE_CREATE_ALWAYS | LINE_READ_WRITE, capture.file, LINE_SLOT_UNBUFFERED)) {
    capture.name.clear();
    return false;
  }
  capture.name = name;
  return true;
}

void TrimAndCloseCaptureFile() {
  CaptureFileState& capture = CaptureFile();
  if (!capture.file.IsOpen()) return;
  capture.file.Close();
  if (capture.keepLines > 0) {
    const std::uintmax_t lineBytes = static_cast<std::uintmax_t>(CurrentRecord().PrintWidth) + 2;
    MoveTailToHead(capture.name, static_cast<std::uintmax_t>(capture.keepLines) * lineBytes);
  }
  ResetCaptureFile();
}

void ResetCaptureFile() {
  CaptureFileState& capture = CaptureFile();
  capture.file.Close();
  capture.name.clear();
  capture.lineCount = 0;
  capture.keepLines = 0;
}

}  // namespace quadrel
