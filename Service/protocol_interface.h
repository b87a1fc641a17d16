// The functions a protocol library offers (all __stdcall, bound by name) and the
// message record its GetEcrMessage fills.
#pragma once

#include <cstdint>

namespace ravelin {

struct TEcrMessage {
  std::int32_t ecr;
  std::int32_t type;  // the event character
  std::uint8_t data[256];
  std::int32_t length;
};
static_assert(sizeof(TEcrMessage) == 268);

// Receive callback (message index, event character) and network-change
// callback (line value, detail).
using ProtEventProc = void(__stdcall*)(int a, int b);

struct ProtocolEntryPoints {
  void(__stdcall* GetLastProtocolError)(int* code, char* text) = nullptr;
  int(__stdcall* OpenProt)(const char* portKeyPath, const char* extra) = nullptr;
  int(__stdcall* GetClient)(int n) = nullptr;  // telematic libraries only
  void(__stdcall* CloseProt)(int zero) = nullptr;
  int(__stdcall* SetOnRxEvent)(ProtEventProc callback) = nullptr;
  int(__stdcall* SetOnNetChangeEvent)(ProtEventProc callback) = nullptr;
  int(__stdcall* SetMessRxEvent)(ProtEventProc callback) = nullptr;
  int(__stdcall* SendData)(int ecr, const void* data, int length) = nullptr;
  int(__stdcall* EcrIO)(int ecrOrRequest, int mode, void* in, void* inLength, void* out, void* outLength,
                        void* detail) = nullptr;
  void* EcrBrdcIO = nullptr;  // bound, not called
  int(__stdcall* GetEcrMessage)(int index, TEcrMessage* message) = nullptr;
  void* GetEcrAnswer = nullptr;  // bound, not called
  int(__stdcall* GetEcrIStatus)(int ecr, int* status) = nullptr;
  int(__stdcall* GetByteCount)() = nullptr;
  void* SendStExRq = nullptr;  // bound, not called
};

}  // namespace ravelin
