// Quadrel.dll loaded with LoadLibrary and its exports bound by name, as the
// service object binds them.
#pragma once

#include <windows.h>

#include "interfaces/translator_exports.h"

struct QuadrelExports : TranslatorEntryPoints {
  HMODULE module = nullptr;

  // Loads the library from the program's folder; false when it or an export is missing.
  bool Load();
  void Unload();
};
