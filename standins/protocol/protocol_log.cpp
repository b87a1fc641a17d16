#include "protocol_log.h"

#include <windows.h>

namespace prot {

void ProtocolLog::Open(const std::string& path) {
  std::lock_guard lock(mutex_);
  if (file_) std::fclose(file_);
  file_ = std::fopen(path.c_str(), "a");
  open_ = file_ != nullptr;
}

void ProtocolLog::Close() {
  std::lock_guard lock(mutex_);
  if (file_) std::fclose(file_);
  file_ = nullptr;
  open_ = false;
}

void ProtocolLog::Message(char direction, int ecr, int seq, int code, int detail,
                          std::span<const std::uint8_t> payload) {
  if (!open_) return;
  char head[80];
  std::snprintf(head, sizeof head, "%c ecr %d seq %d code %d detail %d :", direction, ecr, seq, code, detail);
  std::string text = head;
  for (std::uint8_t byte : payload) {
    char hex[4];
    std::snprintf(hex, sizeof hex, " %02X", byte);
    text += hex;
  }
  Line(text);
}

void ProtocolLog::Note(const std::string& text) { Line("! " + text); }

void ProtocolLog::Line(const std::string& text) {
  std::lock_guard lock(mutex_);
  if (!file_) return;
  SYSTEMTIME now;
  GetLocalTime(&now);
  std::fprintf(file_, "%04u-%02u-%02u %02u:%02u:%02u.%03u %s\n", now.wYear, now.wMonth, now.wDay, now.wHour,
               now.wMinute, now.wSecond, now.wMilliseconds, text.c_str());
  std::fflush(file_);
}

}  // namespace prot
