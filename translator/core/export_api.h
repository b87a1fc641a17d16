// Calling convention and callback shapes of everything that crosses the
// translator's boundary. The 32-bit Windows ABI is __stdcall with undecorated
// names (Quadrel.def); natively the attribute means nothing.
#pragma once

#include <cstdint>

#if defined(_WIN32)
#define QUADREL_CALL __stdcall
#else
#define QUADREL_CALL
#endif

#define QUADREL_EXPORT extern "C"

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
