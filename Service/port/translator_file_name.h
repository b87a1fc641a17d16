// Which translator file and definitions file a logical port uses.
#pragma once

#include <string>

struct WindowsVersion {
  int major = 0;
  int minor = 0;
};
WindowsVersion CurrentWindowsVersion();

// "RT" for the telematic port types, else empty.
std::string TranslatorKind(const std::string& portType);
std::string TranslatorFileName(const std::string& kind, WindowsVersion version);
const char* DefinitionsFileName(const std::string& kind);
