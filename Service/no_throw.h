// Entry points the system calls (window procedures, timer procedures): an
// exception, most likely a failed allocation, must not unwind into the
// system's frames, which cannot pass it. It is logged and the call answers
// `failed` instead.
#pragma once

#include <windows.h>

#include <exception>
#include <string>

namespace ravelin {

template <typename Result, typename Call>
Result NoThrow(const char* where, Result failed, Call&& call) noexcept {
  try {
    return call();
  } catch (const std::exception& failure) {
    OutputDebugStringA((std::string("Ravelin: ") + where + ": " + failure.what() + "\n").c_str());
  } catch (...) {
    OutputDebugStringA((std::string("Ravelin: ") + where + ": unknown exception\n").c_str());
  }
  return failed;
}

}  // namespace ravelin
