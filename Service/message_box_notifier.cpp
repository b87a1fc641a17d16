#include <windows.h>

#include "notifier.h"

void MessageBoxNotifier::Show(const std::string& text) { MessageBoxA(nullptr, text.c_str(), "Ravelin", MB_OK); }
