#include "autorun/spooler_port_lock.h"

namespace ravelin {

std::string SpoolerMutexName(int port) {
  return "Global\\VelmoraEcrSpoolerPort" + std::to_string(port);
}

TSpoolerPortLock::TSpoolerPortLock(int port) {
  const std::string name = SpoolerMutexName(port);
  // Whoever made the mutex first spools; the object lives as long as any
  // handle does, so it goes with the process that holds it, however it ends.
  HANDLE mutex = CreateMutexA(nullptr, FALSE, name.c_str());
  const DWORD error = GetLastError();
  if (mutex && error != ERROR_ALREADY_EXISTS) {
    mutex_ = mutex;
    return;
  }
  if (mutex) CloseHandle(mutex);
  // Access denied: a spooler of another user (a service) made it.
  const bool taken = error == ERROR_ALREADY_EXISTS || error == ERROR_ACCESS_DENIED;
  refusal_ = "Port " + std::to_string(port) +
             (taken ? " is spooled by another process (" + name + " exists)"
                    : ": the lock " + name + " could not be made (error " + std::to_string(error) + ")") +
             "; this process does not spool it";
}

TSpoolerPortLock::~TSpoolerPortLock() {
  if (mutex_) CloseHandle(mutex_);
}

}  // namespace ravelin
