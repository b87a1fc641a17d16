// The translator's and the mail client's only road to the operating system.
// One Win32 implementation (win32/) and one POSIX implementation (posix/) sit
// behind these declarations; the POSIX one exists so the portable code runs in
// fast native tests.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace platform {

// ---- settings (Win32: the registry; POSIX: an in-memory store tests fill) ----

enum class SettingsRoot { LocalMachine, CurrentUser };

// Reads the string value `name` of `key` under `root`. At most `maxBytes` - 1
// characters are kept, as a fixed Win32 buffer of that size would. Returns false
// when the key or the value is missing or unreadable.
bool ReadSettingText(SettingsRoot root, std::string_view key, std::string_view name,
                     std::size_t maxBytes, std::string& value);

// ---- libraries loaded by file name ----

using LibraryHandle = void*;

LibraryHandle LoadLibraryFile(const char* fileName);  // null when it cannot be loaded
void* FindLibrarySymbol(LibraryHandle library, const char* name);
void FreeLibraryFile(LibraryHandle library);
// The folder of the module this code is linked into (Quadrel.dll, or a test
// program), ending in a separator; empty when it cannot be found. Libraries
// loaded from there by full path are never taken from the current directory.
std::string OwnModuleFolder();

// ---- waiting ----

std::uint32_t TickCount();         // milliseconds since an arbitrary start, wraps
void SleepMilliseconds(std::uint32_t ms);
// Fuzz runs put every wait on a clock of their own: a sleep returns at once and
// moves it on, and each reading moves it a millisecond, so no polling loop
// stands still and no time-out costs real time.
void UseVirtualTimeForTests(bool on);
void PumpThreadMessages();         // handles the thread's pending window messages; WM_QUIT stays queued
// Waits `ms` while handling the thread's window messages (a host's one thread
// keeps serving its clients and timers); a plain sleep on POSIX.
void WaitServingMessages(std::uint32_t ms);

// ---- diagnostics, clock, files ----

void DebugOutput(const char* text);

struct LocalTime {
  int year, month, day, hour, minute, second, millisecond;
  int utcOffsetMinutes;  // local time minus UTC (+60 in Rome in winter)
};
LocalTime LocalNow();
// Tests fix the local clock at a moment, or give it back with null.
void FixLocalNowForTests(const LocalTime* moment);

// Today's date and the time now in the system locale's short formats.
std::string LocalDateText();
std::string LocalTimeText();

std::string CurrentDirectory();

}  // namespace platform
