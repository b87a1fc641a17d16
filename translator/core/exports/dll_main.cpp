// Windows entry point of Quadrel.dll.
#include <windows.h>

#include "exports/translator_entry.h"

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) quadrel::AttachTranslator();
  if (reason == DLL_PROCESS_DETACH) quadrel::DetachTranslator();
  return TRUE;
}
