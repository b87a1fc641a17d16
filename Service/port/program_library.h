// Loads the libraries the program chooses by name (protocol and translator
// libraries) from the program's own folder first. The current directory, which
// a client can set, is never searched, so a library planted there is not used.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace ravelin {

// The folder of the running program, ending with a backslash.
std::string ProgramFolder();

// A bare file name ("Lunsk.dll"): no folder, no drive.
bool IsBareFileName(std::string_view fileName);

// The library from the program's folder, else from the system folders; null
// when it is in neither, or when `fileName` is not a bare file name.
HMODULE LoadProgramLibrary(const std::string& fileName);

}  // namespace ravelin
