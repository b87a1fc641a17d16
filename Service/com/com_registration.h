// Per-machine registration of the local server: the class, its ProgID and
// the type library carried in the program's own resource.
#pragma once

#include <windows.h>

#include <string>

namespace ravelin {

// The LocalServer32 line: the program's full path in quotes (paths with
// blanks must survive) and the switch that tells a COM start.
std::wstring LocalServerCommand(const std::wstring& programPath);

// Writes the keys and registers the type library; S_OK or the first failure.
HRESULT RegisterServer(const std::wstring& programPath);
// Removes what RegisterServer wrote; keys already gone are no failure.
HRESULT UnregisterServer();

}  // namespace ravelin
