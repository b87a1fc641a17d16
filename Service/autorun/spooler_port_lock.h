// One spooler per port: a named mutex per port in the global namespace, so a
// spooler service and a spooler started by hand (even in another session)
// never take the same command files.
#pragma once

#include <windows.h>

#include <string>

namespace ravelin {

// The mutex's name for `port`.
std::string SpoolerMutexName(int port);

class TSpoolerPortLock {
 public:
  explicit TSpoolerPortLock(int port);
  ~TSpoolerPortLock();
  TSpoolerPortLock(const TSpoolerPortLock&) = delete;
  TSpoolerPortLock& operator=(const TSpoolerPortLock&) = delete;

  // This process spools the port; held until the object goes.
  bool Held() const { return mutex_ != nullptr; }
  // Why not, for the log.
  const std::string& Refusal() const { return refusal_; }

 private:
  HANDLE mutex_ = nullptr;
  std::string refusal_;
};

}  // namespace ravelin
