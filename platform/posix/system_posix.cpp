#include <dlfcn.h>
#include <sys/time.h>
#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "platform/fixed_clock.h"
#include "platform/platform.h"

namespace platform {

LibraryHandle LoadLibraryFile(const char* fileName) { return dlopen(fileName, RTLD_NOW | RTLD_LOCAL); }

void* FindLibrarySymbol(LibraryHandle library, const char* name) {
  return library ? dlsym(library, name) : nullptr;
}

void FreeLibraryFile(LibraryHandle library) {
  if (library) dlclose(library);
}

std::string OwnModuleFolder() {
  Dl_info info{};
  if (!dladdr(reinterpret_cast<void*>(&OwnModuleFolder), &info) || !info.dli_fname) return {};
  // The main program's name comes as it was started, maybe relative to a
  // folder left since; the kernel knows its full path.
  char exe[4096];
  const ssize_t length = readlink("/proc/self/exe", exe, sizeof exe - 1);
  const bool relative = info.dli_fname[0] != '/';
  if (relative && length <= 0) return {};
  const std::string path = relative ? std::string(exe, static_cast<std::size_t>(length)) : info.dli_fname;
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::uint32_t TickCount() {
  if (const auto ticks = VirtualTickCount()) return *ticks;
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<std::uint32_t>(static_cast<std::uint64_t>(now.tv_sec) * 1000u +
                                    static_cast<std::uint64_t>(now.tv_nsec) / 1000000u);
}

void SleepMilliseconds(std::uint32_t ms) {
  if (SleepVirtually(ms)) return;
  timespec pause{static_cast<time_t>(ms / 1000), static_cast<long>(ms % 1000) * 1000000L};
  while (nanosleep(&pause, &pause) != 0) {
  }
}

void PumpThreadMessages() {}

void WaitServingMessages(std::uint32_t ms) { SleepMilliseconds(ms); }

void DebugOutput(const char* text) { std::fprintf(stderr, "%s\n", text); }

LocalTime LocalNow() {
  if (const LocalTime* fixed = FixedLocalNow()) return *fixed;
  timeval now{};
  gettimeofday(&now, nullptr);
  tm parts{};
  localtime_r(&now.tv_sec, &parts);
  return {parts.tm_year + 1900, parts.tm_mon + 1, parts.tm_mday, parts.tm_hour,
          parts.tm_min,         parts.tm_sec,     static_cast<int>(now.tv_usec / 1000),
          static_cast<int>(parts.tm_gmtoff / 60)};
}

namespace {

std::string FormatNow(const char* format) {
  time_t now = time(nullptr);
  tm parts{};
  localtime_r(&now, &parts);
  char buffer[64];
  size_t length = strftime(buffer, sizeof buffer, format, &parts);
  return std::string(buffer, length);
}

}  // namespace

std::string LocalDateText() { return FormatNow("%x"); }
std::string LocalTimeText() { return FormatNow("%X"); }

std::string CurrentDirectory() {
  char buffer[4096];
  return getcwd(buffer, sizeof buffer) ? std::string(buffer) : std::string();
}

}  // namespace platform
