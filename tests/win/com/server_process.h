// Running the test build of the server and other helper programs of the
// build folder, and finding them among the running processes.
#pragma once

#include <windows.h>

#include <string>

namespace tallis_test {

// Full path of a program in the test program's own folder.
std::wstring ProgramBeside(const wchar_t* fileName);
// Runs `commandLine` and waits; the exit code, or -1 when it could not run
// or did not end in time.
long RunAndWait(const std::wstring& commandLine, DWORD timeoutMs = 30000);
// Whether a process with this file name runs.
bool ProcessRunning(const wchar_t* fileName);
// The exit code of the running process with this file name once it ends;
// -1 when none runs or it does not end in time. Serves COM calls meanwhile.
long ExitCodeOfRunning(const wchar_t* fileName, DWORD timeoutMs);

}  // namespace tallis_test
