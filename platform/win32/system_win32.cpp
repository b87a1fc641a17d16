#include <windows.h>

#include <algorithm>
#include <string>

#include "platform/fixed_clock.h"
#include "platform/platform.h"

namespace platform {

LibraryHandle LoadLibraryFile(const char* fileName) { return LoadLibraryA(fileName); }

void* FindLibrarySymbol(LibraryHandle library, const char* name) {
  if (!library) return nullptr;
  return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(library), name));
}

void FreeLibraryFile(LibraryHandle library) {
  if (library) FreeLibrary(static_cast<HMODULE>(library));
}

std::string OwnModuleFolder() {
  HMODULE own = nullptr;
  if (!GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                          reinterpret_cast<LPCSTR>(&OwnModuleFolder), &own))
    return {};
  char path[MAX_PATH + 1];
  const DWORD length = GetModuleFileNameA(own, path, sizeof path);
  if (length == 0 || length >= sizeof path) return {};
  const std::string full(path, length);
  const std::size_t slash = full.find_last_of("\\/");
  return slash == std::string::npos ? std::string() : full.substr(0, slash + 1);
}

std::uint32_t TickCount() {
  if (const auto ticks = VirtualTickCount()) return *ticks;
  return GetTickCount();
}

void SleepMilliseconds(std::uint32_t ms) {
  if (!SleepVirtually(ms)) Sleep(ms);
}

void WaitServingMessages(std::uint32_t ms) {
  if (SleepVirtually(ms)) return;
  // Short steps: a message waits at most one of them.
  constexpr DWORD kStepMs = 10;
  const DWORD start = GetTickCount();
  for (DWORD waited = 0; waited < ms; waited = GetTickCount() - start) {
    PumpThreadMessages();
    Sleep(std::min<DWORD>(kStepMs, ms - waited));
  }
}

void PumpThreadMessages() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      // Left for the thread's own message loop, which ends the program.
      PostQuitMessage(static_cast<int>(message.wParam));
      return;
    }
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

void DebugOutput(const char* text) { OutputDebugStringA(text); }

namespace {

std::int64_t FileTimeTicks(const SYSTEMTIME& time) {
  FILETIME file{};
  SystemTimeToFileTime(&time, &file);
  return (static_cast<std::int64_t>(file.dwHighDateTime) << 32) | file.dwLowDateTime;
}

}  // namespace

LocalTime LocalNow() {
  if (const LocalTime* fixed = FixedLocalNow()) return *fixed;
  // The local time from the same UTC moment, so the offset between the two
  // is right also at a change of daylight saving time.
  SYSTEMTIME utc, now;
  GetSystemTime(&utc);
  if (!SystemTimeToTzSpecificLocalTime(nullptr, &utc, &now)) now = utc;
  constexpr std::int64_t kTicksPerMinute = 600000000;  // of 100 ns
  const int offset = static_cast<int>((FileTimeTicks(now) - FileTimeTicks(utc)) / kTicksPerMinute);
  return {now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond, now.wMilliseconds, offset};
}

std::string LocalDateText() {
  char buffer[64];
  int length = GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, nullptr, nullptr, buffer, sizeof buffer);
  return length > 0 ? std::string(buffer) : std::string();
}

std::string LocalTimeText() {
  char buffer[64];
  int length = GetTimeFormatA(LOCALE_USER_DEFAULT, 0, nullptr, nullptr, buffer, sizeof buffer);
  return length > 0 ? std::string(buffer) : std::string();
}

std::string CurrentDirectory() {
  char buffer[MAX_PATH + 1];
  DWORD length = GetCurrentDirectoryA(sizeof buffer, buffer);
  return length > 0 && length < sizeof buffer ? std::string(buffer, length) : std::string();
}

}  // namespace platform
