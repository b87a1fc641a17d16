#include "port/translator_file_name.h"

#include <windows.h>

std::string TranslatorKind(const std::string& portType) {
  return portType == "RS232USB-RT" || portType == "Ethernet-RT" ? "RT" : "";
}

std::string TranslatorFileName(const std::string& kind, WindowsVersion version) {
  if (kind == "RT") return "QuadrelRT.dll";
  return version.major == 5 && version.minor == 0 ? "Quadrel2000.dll" : "Quadrel.dll";
}

const char* DefinitionsFileName(const std::string& kind) { return kind == "RT" ? "TALLISRT.INI" : "TALLIS.INI"; }

// RtlGetVersion tells the truth where GetVersionEx is shimmed for unmanifested programs.
WindowsVersion CurrentWindowsVersion() {
  using RtlGetVersionProc = LONG(WINAPI*)(OSVERSIONINFOW*);
  OSVERSIONINFOW info{};
  info.dwOSVersionInfoSize = sizeof info;
  const auto rtlGetVersion = reinterpret_cast<RtlGetVersionProc>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "RtlGetVersion")));
  if (!rtlGetVersion || rtlGetVersion(&info) != 0) return {};
  return {static_cast<int>(info.dwMajorVersion), static_cast<int>(info.dwMinorVersion)};
}
