// The translator's switches under HKLM "Software\Velmora\Drivers\Corvane\FirmwareA",
// read at every TradInit.
#pragma once

#include <string>

#include "interfaces/registry.h"
#include "state/library_state.h"

namespace quadrel {

// Reads the switches in their fixed order; missing or unreadable values leave
// the defaults. Returns the definitions-file path: InstallationDir +
// "\Drivers\TALLIS.INI" when that value exists, else iniPath unchanged.
std::string ReadTranslatorSwitches(const std::string& iniPath, TranslatorSwitches& switches);

// How one value text turns a switch on or off ("1"/"YES" and "0"/"NO", any case).
bool SwitchTurnedOn(const std::string& text);
bool SwitchTurnedOff(const std::string& text);

}  // namespace quadrel
