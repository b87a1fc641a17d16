// A translator library of our own for the loader's tests: it records what the
// loader passes and answers through the callbacks it was given. Built with
// every export, without GetEcrConfStr and without TradInit (.def files).
#include <cstring>
#include <string>

#include "interfaces/translator_exports.h"

namespace {
std::string lastIni;
int lastAbort = -1;
}  // namespace

extern "C" {

// Reports progress once, then asks the host for one service with seven distinct arguments.
int __stdcall TradInit(const char* ini, int, TradProgressProc progress, TradEcrIOProc hostIO) {
  lastIni = ini ? ini : "";
  if (progress) {
    int abort = 0;
    progress(11, 22, 33, "double progress", &abort);
    lastAbort = abort;
  }
  if (!hostIO) return -1;
  return hostIO(7, 3, reinterpret_cast<void*>(0x1111), reinterpret_cast<void*>(0x2222),
                reinterpret_cast<void*>(0x3333), reinterpret_cast<void*>(0x4444), reinterpret_cast<void*>(0x5555));
}
const char* __stdcall DoubleLastIni() { return lastIni.c_str(); }
int __stdcall DoubleLastAbort() { return lastAbort; }

int __stdcall TradClose() { return 0; }
int __stdcall GetEnableTradDC() { return 0; }
int __stdcall SetEnableTradDC(int) { return 0; }
int __stdcall GetQuoteChar() { return '"'; }
int __stdcall SetQuoteChar(char) { return 0; }
int __stdcall GetSeparatorChar() { return ','; }
int __stdcall SetSeparatorChar(char) { return 0; }
int __stdcall GetOutEditOptions() { return 0; }
int __stdcall SetOutEditOptions(int) { return 0; }

// The longest result text the translator produces: 255 characters and the terminator.
int __stdcall EcrCmd(const char*, char* answer) {
  std::memset(answer, 'R', 255);
  answer[255] = '\0';
  return 0;
}
const char* __stdcall Trad_DCYEvent(int, const unsigned char*, int) { return ""; }
const char* __stdcall Trad_DCXEvent(int, const unsigned char*, int) { return ""; }
void __stdcall Trad_FileExtEnq(int, const unsigned char*, int, int*, char*, double*) {}
void __stdcall Trad_RispExtEnq(int, unsigned, int, const char*, unsigned char*, int*) {}
void __stdcall Trad_FileExtUpd(int, const unsigned char*, int, int*, char*, double*, double*) {}
const char* __stdcall Trad_IEvent(int, const unsigned char*, int) { return ""; }
int __stdcall GetEcrConfVal(unsigned id) { return static_cast<int>(id) + 1; }
const char* __stdcall GetEcrConfStr(unsigned) { return "double text"; }

}  // extern "C"
