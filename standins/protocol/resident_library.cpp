// The library is loaded at each port open and unloaded at each close. Its
// static C++ runtime keeps what it sets up at a load for the life of the
// process and never hands it back at an unload (the exception arena, the
// records and keys of the threads that called in): about 10 kB a session for
// a till that opens the port for each receipt. Pinned at its first load, the
// library stays, so its runtime starts once per process; what a session makes
// is freed by CloseProt.
#include <windows.h>

namespace prot {
namespace {

struct TResidentLibrary {
  TResidentLibrary() {
    HMODULE self = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
                       reinterpret_cast<LPCWSTR>(this), &self);
  }
};
const TResidentLibrary residentLibrary;

}  // namespace
}  // namespace prot
