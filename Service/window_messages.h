// Messages the driver window posts to itself.
#pragma once

#include <windows.h>

namespace ravelin {

inline constexpr UINT WM_RUNASYNCCMD = 0x8065;  // wParam, lParam: client slot
inline constexpr UINT WM_ECREVENT = 0x8066;     // wParam: message index, lParam: event character
inline constexpr UINT WM_ECROTHER = 0x8067;     // as WM_ECREVENT, for characters nobody handles
// The network-change callback has its own message, so that neither a line
// value of 0 nor a message index of any size can pass for the other.
inline constexpr UINT WM_ECRSTATUSCHANGE = 0x8068;  // wParam: line value, lParam: detail
inline constexpr UINT WM_TRAYNOTIFY = 0x806E;       // wParam: icon id, lParam: mouse message

}  // namespace ravelin
