// Quadrel.dll loaded with LoadLibrary and its exports bound by name, as the
// service object binds them.
#pragma once

#include <windows.h>

#include <cstdint>

#include "export_api.h"

struct QuadrelExports {
  HMODULE module = nullptr;
  int(__stdcall* TradInit)(const char*, int, TradProgressProc, TradEcrIOProc) = nullptr;
  int(__stdcall* TradClose)() = nullptr;
  int(__stdcall* GetEnableTradDC)() = nullptr;
  int(__stdcall* SetEnableTradDC)(int) = nullptr;
  int(__stdcall* GetQuoteChar)() = nullptr;
  int(__stdcall* SetQuoteChar)(char) = nullptr;
  int(__stdcall* GetSeparatorChar)() = nullptr;
  int(__stdcall* SetSeparatorChar)(char) = nullptr;
  int(__stdcall* GetOutEditOptions)() = nullptr;
  int(__stdcall* SetOutEditOptions)(int) = nullptr;
  int(__stdcall* EcrCmd)(const char*, char*) = nullptr;
  int(__stdcall* GetEcrConfVal)(std::uint32_t) = nullptr;
  const char*(__stdcall* GetEcrConfStr)(std::uint32_t) = nullptr;

  // Loads the library from the program's folder; false when it or an export is missing.
  bool Load();
  void Unload();
};
