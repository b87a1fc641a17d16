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
// many bytes off its end; a file shorter than that stays as it is. False when
// the file could not be read, written or cut.
bool MoveTailToHead(const std::string& path, std::uintmax_t bytes) {
  std::error_code failure;
  const std::uintmax_t size = std::filesystem::file_size(path, failure);
  if (failure) return false;
  if (bytes == 0 || bytes > size) return true;

  std::FILE* file = std::fopen(path.c_str(), "r+b");
  if (!file) return false;
  std::vector<char> tail(static_cast<std::size_t>(bytes));
  const bool moved = std::fseek(file, static_cast<long>(size - bytes), SEEK_SET) == 0 &&
                     std::fread(tail.data(), 1, tail.size(), file) == tail.size() &&
                     std::fseek(file, 0, SEEK_SET) == 0 &&
                     std::fwrite(tail.data(), 1, tail.size(), file) == tail.size();
  const bool closed = std::fclose(file) == 0;
  if (!moved || !closed) return false;
  std::filesystem::resize_file(path, size - bytes, failure);
  return !failure;
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
  capture.failed = false;
  if (!OpenLineFile(name, LINE_CREATE_ALWAYS | LINE_READ_WRITE, capture.file, LINE_SLOT_UNBUFFERED)) {
    capture.name.clear();
    return false;
  }
  capture.name = name;
  return true;
}

void WriteCaptureLine(std::string_view text) {
  CaptureFileState& capture = CaptureFile();
  if (!capture.file.IsOpen()) return;
  if (WriteLine(capture.file, text)) {
    ++capture.lineCount;
  } else {
    capture.failed = true;
  }
}

bool TrimAndCloseCaptureFile() {
  CaptureFileState& capture = CaptureFile();
  if (!capture.file.IsOpen()) return true;
  bool complete = capture.file.Close() && !capture.failed;
  if (complete && capture.keepLines > 0) {
    const std::uintmax_t lineBytes = static_cast<std::uintmax_t>(CurrentRecord().PrintWidth) + 2;
    complete = MoveTailToHead(capture.name, static_cast<std::uintmax_t>(capture.keepLines) * lineBytes);
  }
  ResetCaptureFile();
  return complete;
}

void ResetCaptureFile() {
  CaptureFileState& capture = CaptureFile();
  capture.file.Close();
  capture.name.clear();
  capture.lineCount = 0;
  capture.keepLines = 0;
  capture.failed = false;
}

}  // namespace quadrel
