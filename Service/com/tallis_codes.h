// Identities, method numbers, result codes and property indexes of the
// automation object, as clients and the type library see them.
#pragma once

#include <windows.h>

#include <cstdint>

namespace ravelin {

// {3B9E4A10-5C7D-4E21-9A6F-2D81C0E7B540} and its siblings .11 (dispinterface)
// and .13 (coclass).
inline constexpr GUID kLibidRavelin = {
    0x3B9E4A10, 0x5C7D, 0x4E21, {0x9A, 0x6F, 0x2D, 0x81, 0xC0, 0xE7, 0xB5, 0x40}};
inline constexpr GUID kDiidTallisInterface = {
    0x3B9E4A11, 0x5C7D, 0x4E21, {0x9A, 0x6F, 0x2D, 0x81, 0xC0, 0xE7, 0xB5, 0x40}};
inline constexpr GUID kClsidTallisInterface = {
    0x3B9E4A13, 0x5C7D, 0x4E21, {0x9A, 0x6F, 0x2D, 0x81, 0xC0, 0xE7, 0xB5, 0x40}};

inline constexpr wchar_t kProgId[] = L"Ravelin.TallisInterface";
inline constexpr wchar_t kClassDescription[] = L"Tallis Service Object Interface";

// DISPIDs of ITallisInterface, in type library order.
enum TTallisDispid : DISPID {
  didOpenService = 1,
  didClose,
  didCOFreezeEvents,
  didGetPropertyNumber,
  didSetPropertyNumber,
  didGetPropertyString,
  didSetPropertyString,
  didDirectIO,
  didEcrStatus,
  didEcrStatusEx,
  didEcrCmd,
  didEcrConfVal,
  didEcrConfStr,
};

// Result codes of the object; the translator's own codes pass through EcrCmd,
// EcrConfVal and OpenService.
enum TServiceResult : std::int32_t {
  SOR_OK = 0,
  SOR_FAILED = 1,
  SOR_BUSY = 19,
  SOR_NO_PORT = 20,
  SOR_EVENT_TAKEN = 21,
  // A command line or DirectIO text longer than its buffer: the translator's
  // own "source line too long" code, so clients see one code for one fault.
  SOR_LINE_TOO_LONG = 0x100 | 18,
  SOR_DIR_ERROR = 106,
  SOR_BAD_INDEX = -1,
};

// Numeric properties (GetPropertyNumber / SetPropertyNumber), 1 to 11.
enum TNumberProperty : std::int32_t {
  Pidx_EventMask = 1,
  Pidx_Version,
  Pidx_EnableTradDC,
  Pidx_QuoteChar,
  Pidx_SeparatorChar,
  Pidx_OutEditOptions,
  Pidx_AsyncMode,
  Pidx_State,
  Pidx_LastResult,
  Pidx_LogicalPort,
  Pidx_ReservedNumber,
};

// String properties, 1000001 to 1000003.
enum TStringProperty : std::int32_t {
  Pidx_Description = 1000001,
  Pidx_CurrentDir,
  Pidx_ReservedString,
};

// ClientState values read through Pidx_State.
enum TClientState : std::int32_t { csIdle = 1, csRunning = 2 };

inline constexpr std::int32_t kObjectVersion = 1005000;
inline constexpr char kObjectDescription[] = "Velmora Tallis Service Object v.1.5.1";

}  // namespace ravelin
