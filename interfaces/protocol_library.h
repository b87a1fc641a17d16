// The protocol library's interface as its host binds it: 15 __stdcall
// functions found by name, the callbacks it calls, and the message record its
// GetEcrMessage fills. Written once for Ravelin and for our stand-in library.
#pragma once

#include <cstdint>

#if defined(_WIN32)
#define PROT_CALL __stdcall
#else
#define PROT_CALL
#endif

// A register message kept for GetEcrMessage.
struct TEcrMessage {
  std::int32_t ecr;
  std::int32_t type;  // the event character
  std::uint8_t data[256];
  std::int32_t length;
};
static_assert(sizeof(TEcrMessage) == 268);

// Receive callback (message index, event character) and network-change
// callback (line value, detail).
using ProtEventProc = void(PROT_CALL*)(int a, int b);

// The functions in the order the host binds them; GetClient only in the
// telematic libraries; EcrBrdcIO, GetEcrAnswer and SendStExRq are bound, not called.
struct ProtocolEntryPoints {
  void(PROT_CALL* GetLastProtocolError)(int* code, char* text) = nullptr;
  int(PROT_CALL* OpenProt)(const char* portKeyPath, const char* extra) = nullptr;
  int(PROT_CALL* GetClient)(int n) = nullptr;
  void(PROT_CALL* CloseProt)(int zero) = nullptr;
  int(PROT_CALL* SetOnRxEvent)(ProtEventProc callback) = nullptr;
  int(PROT_CALL* SetOnNetChangeEvent)(ProtEventProc callback) = nullptr;
  int(PROT_CALL* SetMessRxEvent)(ProtEventProc callback) = nullptr;
  int(PROT_CALL* SendData)(int ecr, const void* data, int length) = nullptr;
  int(PROT_CALL* EcrIO)(int ecrOrRequest, int mode, void* in, void* inLength, void* out, void* outLength,
                        void* detail) = nullptr;
  void* EcrBrdcIO = nullptr;
  int(PROT_CALL* GetEcrMessage)(int index, TEcrMessage* message) = nullptr;
  void* GetEcrAnswer = nullptr;
  int(PROT_CALL* GetEcrIStatus)(int ecr, int* status) = nullptr;
  int(PROT_CALL* GetByteCount)() = nullptr;
  void* SendStExRq = nullptr;
};
