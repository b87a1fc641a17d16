// The translator library's boundary: its calling convention, the callbacks a
// host gives it, and its 19 exports in the order hosts bind them. Quadrel
// declares its exports from this one list; Ravelin and the tests build their
// pointer tables from it, so a changed signature cannot go unnoticed.
// The 32-bit Windows ABI is __stdcall with undecorated names (Quadrel.def).
#pragma once

#include <cstdint>

#if defined(_WIN32)
#define QUADREL_CALL __stdcall
#else
#define QUADREL_CALL
#endif

// An integer carried in a pointer-sized word of the host-service callback.
inline void* IntArgument(std::intptr_t value) { return reinterpret_cast<void*>(value); }
inline int IntFromArgument(const void* word) { return static_cast<int>(reinterpret_cast<std::intptr_t>(word)); }

// Progress or state text for the user; the host sets *abort to 1 to stop.
using TradProgressProc = void(QUADREL_CALL*)(int ecr, int count, int percent, const char* text,
                                             int* abort);

// Host service: a register number (0 or more) exchanges one frame; a negative
// request is one of the EcrIORequest services. Same shape as the protocol
// library's EcrIO: for a frame the fourth word is the frame length as a value
// and *answerLength is the answer buffer's capacity going in and the answer's
// length coming out. A service may carry a value or a pointer in any word.
using TradEcrIOProc = int(QUADREL_CALL*)(int ecrOrRequest, int mode, void* frame, void* length,
                                         void* answer, void* answerLength, void* detail);

// X(result, name, parameters) for each export, in binding order.
//  - TradInit/TradClose: at every port open and close.
//  - the option getters and setters: values are not checked (command 48 checks).
//  - EcrCmd: runs a command line or the batch an '@' line names; the result
//    text is at most 256 bytes, terminator included; a null line is empty.
//  - the event translators: raw bytes of a register message in, text out; a
//    text stays valid until the next call of the same export. Codes written
//    by Trad_FileExtEnq/Upd take at most 20 characters and a zero; the reply
//    of Trad_RispExtEnq takes up to 1024 bytes.
//  - GetEcrConfVal/GetEcrConfStr: one item of a register's configuration
//    (id: bits 16-31 the register, 0 = the current one; bits 0-15 the item);
//    -1 or null when not available. A text stays valid until the next call
//    for the same item.
#define QUADREL_EXPORTS(X)                                                                          \
  X(int, TradInit, (const char* iniPath, int flags, TradProgressProc onProgress, TradEcrIOProc hostIO)) \
  X(int, TradClose, ())                                                                             \
  X(int, GetEnableTradDC, ())                                                                       \
  X(int, SetEnableTradDC, (int value))                                                              \
  X(int, GetQuoteChar, ())                                                                          \
  X(int, SetQuoteChar, (char c))                                                                    \
  X(int, GetSeparatorChar, ())                                                                      \
  X(int, SetSeparatorChar, (char c))                                                                \
  X(int, GetOutEditOptions, ())                                                                     \
  X(int, SetOutEditOptions, (int value))                                                            \
  X(int, EcrCmd, (const char* commandLine, char* resultText))                                       \
  X(const char*, Trad_DCYEvent, (int ecr, const unsigned char* data, int len))                      \
  X(const char*, Trad_DCXEvent, (int ecr, const unsigned char* data, int len))                      \
  X(void, Trad_FileExtEnq,                                                                          \
    (int ecr, const unsigned char* data, int len, int* status, char* code, double* quantity))       \
  X(void, Trad_RispExtEnq,                                                                          \
    (int ecr, unsigned kind, int textCode, const char* answer, unsigned char* reply, int* replyLength)) \
  X(void, Trad_FileExtUpd,                                                                          \
    (int ecr, const unsigned char* data, int len, int* status, char* code, double* value1,          \
     double* value2))                                                                               \
  X(const char*, Trad_IEvent, (int ecr, const unsigned char* data, int len))                        \
  X(int, GetEcrConfVal, (std::uint32_t id))                                                         \
  X(const char*, GetEcrConfStr, (std::uint32_t id))

#define QUADREL_DECLARE_EXPORT(result, name, parameters) extern "C" result QUADREL_CALL name parameters;
QUADREL_EXPORTS(QUADREL_DECLARE_EXPORT)
#undef QUADREL_DECLARE_EXPORT

inline constexpr int kTranslatorExportCount = 19;

// A host's table of the exports, filled by binding each name.
struct TranslatorEntryPoints {
#define QUADREL_EXPORT_POINTER(result, name, parameters) result(QUADREL_CALL* name) parameters = nullptr;
  QUADREL_EXPORTS(QUADREL_EXPORT_POINTER)
#undef QUADREL_EXPORT_POINTER
};
