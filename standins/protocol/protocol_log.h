// The protocol log: one line per message on the line or change of the link,
//   2024-05-01 10:20:30.123 > ecr 1 seq 7 code 3 detail 0 : 53
// '>' sent, '<' received, '*' event, '!' link state or note. Off unless the
// port key asks for it; a log that cannot be opened is silently skipped.
#pragma once

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <mutex>
#include <span>
#include <string>

namespace prot {

class ProtocolLog {
 public:
  ~ProtocolLog() { Close(); }
  void Open(const std::string& path);
  void Close();
  void Message(char direction, int ecr, int seq, int code, int detail, std::span<const std::uint8_t> payload);
  void Note(const std::string& text);

 private:
  void Line(const std::string& text);

  std::mutex mutex_;
  std::FILE* file_ = nullptr;
  // Read without the lock, so a frame formats nothing while the log is off.
  std::atomic<bool> open_{false};
};

}  // namespace prot
