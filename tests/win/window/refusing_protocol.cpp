// A protocol library whose OpenProt always fails, with a known error; it has
// no GetClient, as a library for a plain serial port need not.
#include <cstring>

extern "C" {

void __stdcall GetLastProtocolError(int* code, char* text) {
  if (code) *code = 77;
  if (text) std::strcpy(text, "line refused by the test library");
}
int __stdcall OpenProt(const char*, const char*) { return 0; }
void __stdcall CloseProt(int) {}
int __stdcall SetOnRxEvent(void*) { return 1; }
int __stdcall SetOnNetChangeEvent(void*) { return 1; }
int __stdcall SetMessRxEvent(void*) { return 1; }
int __stdcall SendData(int, const void*, int) { return 0; }
int __stdcall EcrIO(int, int, void*, int, void*, int*, int*) { return 2; }
int __stdcall EcrBrdcIO(int, const void*, int, int, int, void*, int*, int*) { return 2; }
int __stdcall GetEcrMessage(int, void*) { return 0; }
int __stdcall GetEcrAnswer(int, void*, int*) { return 0; }
int __stdcall GetEcrIStatus(int, int*) { return 0; }
int __stdcall GetByteCount() { return 0; }
int __stdcall SendStExRq(int) { return 0; }

}  // extern "C"
